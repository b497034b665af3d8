#pragma once

#include "layout/form_layout.h"

#include <QGroupBox>

namespace kt5::platform::qt {

// A frame drawn as the layout's group box whatever the style: filled with its background, an
// etched border broken around the caption, in the frame's text colour. Styles draw a
// group box each in their own way (Fusion puts the caption above the frame and shades the
// panel), and the panel must be the labels' colour.
class QtFrame final : public QGroupBox {
public:
    QtFrame(const layout::FrameCaption& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const layout::FrameCaption& caption_;
};

} // namespace kt5::platform::qt
