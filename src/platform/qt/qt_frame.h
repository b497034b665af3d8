#pragma once

#include <QGroupBox>

namespace kt5::platform::qt {

// A frame drawn as a Windows group box whatever the style: filled with its background, an
// etched border whose top line runs through the middle of the caption and is broken around
// it, the caption inset from the line's left end in the frame's text colour. Styles draw a
// group box each in their own way (Fusion puts the caption above the frame and shades the
// panel), and the panel must be the labels' colour.
class QtFrame final : public QGroupBox {
public:
    QtFrame(int captionInset, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int captionInset_;
};

} // namespace kt5::platform::qt
