// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/HeifLayout.h"

#include <QByteArray>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <climits>
#include <initializer_list>
#include <optional>

namespace morvelin {

namespace {

// A real file has a few boxes at each level; the item properties hold a few per picture tile.
constexpr int maxBoxes = 4096;
constexpr qint64 fullBoxBytes = 4; // version and flags after the header

struct Box {
    QByteArray type;
    qint64 content = 0; // where its content starts
    qint64 end = 0;
};

std::optional<Box> boxAt(QIODevice& device, qint64 at, qint64 limit)
{
    if (!device.seek(at)) {
        return std::nullopt;
    }
    const QByteArray header = device.read(16);
    if (header.size() < 8) {
        return std::nullopt;
    }
    quint64 size = qFromBigEndian<quint32>(header.constData());
    qint64 headerBytes = 8;
    if (size == 1) {
        if (header.size() < 16) {
            return std::nullopt;
        }
        size = qFromBigEndian<quint64>(header.constData() + 8);
        headerBytes = 16;
    } else if (size == 0) {
        size = quint64(limit - at); // up to the end of its parent
    }
    if (size < quint64(headerBytes) || size > quint64(limit - at)) {
        return std::nullopt;
    }
    return Box{header.mid(4, 4), at + headerBytes, at + qint64(size)};
}

// The first box of one of `types` among those from `from` to `to`.
std::optional<Box> find(QIODevice& device, qint64 from, qint64 to, std::initializer_list<const char*> types)
{
    for (int i = 0; i < maxBoxes && from < to; ++i) {
        const std::optional<Box> box = boxAt(device, from, to);
        if (!box) {
            return std::nullopt;
        }
        for (const char* type : types) {
            if (box->type == type) {
                return box;
            }
        }
        from = box->end;
    }
    return std::nullopt;
}

} // namespace

HeifLayout HeifLayout::read(QIODevice& device)
{
    HeifLayout layout;
    const std::optional<Box> meta = find(device, 0, device.size(), {"meta"});
    const std::optional<Box> properties =
        meta ? find(device, meta->content + fullBoxBytes, meta->end, {"iprp"}) : std::nullopt;
    const std::optional<Box> container =
        properties ? find(device, properties->content, properties->end, {"ipco"}) : std::nullopt;
    for (qint64 at = container ? container->content : 0; container && at < container->end;) {
        const std::optional<Box> property = find(device, at, container->end, {"irot", "imir", "ispe"});
        if (!property) {
            break;
        }
        at = property->end;
        if (property->type != "ispe") {
            layout.turnsItself = true;
            continue;
        }
        const QByteArray extent = device.seek(property->content) ? device.read(fullBoxBytes + 8) : QByteArray();
        if (extent.size() < fullBoxBytes + 8) {
            continue;
        }
        const QSize size(int(std::min<quint32>(qFromBigEndian<quint32>(extent.constData() + fullBoxBytes), INT_MAX)),
                         int(std::min<quint32>(qFromBigEndian<quint32>(extent.constData() + fullBoxBytes + 4), INT_MAX)));
        if (qint64(size.width()) * size.height() > qint64(layout.largest.width()) * layout.largest.height()) {
            layout.largest = size;
        }
    }
    return layout;
}

} // namespace morvelin
