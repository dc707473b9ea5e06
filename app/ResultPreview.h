// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QImage>
#include <QObject>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <QString>

class QWidget;

namespace morvelin {

class ImageXView;

// The small picture of a listed photo under the folder picker. The photo is decoded on a worker at
// about the size shown, since a large photo would stall the window; a later request wins, and requests
// made while one is decoded are folded into the latest.
class ResultPreview : public QObject {
    Q_OBJECT

public:
    // `view` shows the picture; `picker` is the control it is centred under.
    ResultPreview(ImageXView* view, QWidget* picker, QWidget* window);

    // `faceBox`, in the photo's own pixels, is framed on the preview; empty for none.
    void show(const QString& path, const QRect& faceBox = QRect());
    void hide();
    // The size the preview was last given, in twips; empty before the first one.
    QSizeF twips() const { return m_twips; }

private:
    void decodeWanted();
    void place(int sequence, const QImage& picture, QSize photoSize);

    ImageXView* m_view;
    QWidget* m_picker;
    QWidget* m_window;
    int m_sequence = 0;
    QString m_wanted;
    QRect m_wantedBox;
    bool m_decoding = false;
    QSizeF m_twips;
};

} // namespace morvelin
