// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/ImageX.h"

#include "search/FaceFilter.h"
#include "search/ImageFileReader.h"

#include <QFileInfo>

#include <cmath>

namespace morvelin {

namespace {

int proportional(int side, int from, int to)
{
    // Nearest whole pixel, ties to even like every other conversion in the program.
    const double exact = double(side) * double(to) / double(from);
    return std::max(1, int(std::nearbyint(exact)));
}

} // namespace

ImageX::ImageX() = default;
ImageX::~ImageX() = default;
ImageX::ImageX(ImageX&&) noexcept = default;
ImageX& ImageX::operator=(ImageX&&) noexcept = default;

bool ImageX::load(const QString& path)
{
    m_error.clear();
    std::unique_ptr<ImageFileReader> reader = ImageFileReader::open(path, m_error, &m_errorPasses);
    if (!reader) {
        return false;
    }
    // One step of fallback only: a chain would keep every undecoded file's bytes in memory.
    m_previous = std::move(m_current);
    m_previous.pending.reset();
    if (m_previous.image.isNull()) {
        m_previous.size = QSize(0, 0);
    }
    const QSize size = reader->size();
    m_current = State{std::move(reader), QImage(), size};
    return true;
}

int ImageX::width() const
{
    return m_current.size.width();
}

int ImageX::height() const
{
    return m_current.size.height();
}

void ImageX::resize(int newWidth, int newHeight)
{
    const QSize from = m_current.size;
    if (from.isEmpty() || newWidth < 0 || newHeight < 0 || (newWidth == 0 && newHeight == 0)) {
        return;
    }
    const QSize to(newWidth != 0 ? newWidth : proportional(from.width(), from.height(), newHeight),
                   newHeight != 0 ? newHeight : proportional(from.height(), from.width(), newWidth));
    if (ImageFileReader::pixelCount(to) > ImageFileReader::maxPixels) {
        m_error = QStringLiteral("picture too large (%1 x %2)").arg(to.width()).arg(to.height());
        return;
    }
    m_current.size = to;
    if (!m_current.pending && m_current.image.size() != to) {
        m_current.image = m_current.image.scaled(to, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
}

std::int64_t ImageX::decodingMemory() const
{
    return m_current.pending ? m_current.pending->memoryNeeded(m_current.size) : 0;
}

QImage ImageX::picture() const
{
    decodePending();
    return m_current.image;
}

void ImageX::setPicture(const QImage& picture)
{
    QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const QSize size = image.size();
    m_current = State{nullptr, std::move(image), size};
    m_previous = State();
}

void ImageX::filter()
{
    QImage& image = decodedImage();
    if (image.isNull()) {
        return;
    }
    FaceFilter::apply(image);
    image.convertTo(QImage::Format_RGB32);
    m_current.size = image.size();
}

void ImageX::secondFilter()
{
    QImage& image = decodedImage();
    if (image.isNull()) {
        return;
    }
    FaceFilter::applySecond(image);
    image.convertTo(QImage::Format_RGB32);
    m_current.size = image.size();
}

void ImageX::decodePending() const
{
    bool failed = false;
    while (m_current.pending) {
        QImage image = m_current.pending->read(m_current.size);
        if (!image.isNull()) {
            m_current.image = std::move(image);
            m_current.pending.reset();
            m_previous = State();
            return;
        }
        if (!failed) {
            m_error = m_current.pending->errorString();
            m_errorPasses = m_current.pending->errorPasses();
            failed = true;
        }
        m_current = std::move(m_previous);
        m_previous = State();
    }
}

QImage& ImageX::decodedImage()
{
    decodePending();
    return m_current.image;
}

} // namespace morvelin
