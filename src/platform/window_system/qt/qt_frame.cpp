#include "qt_frame.h"

#include "qt_text.h"
#include "qt_units.h"

#include <QFontMetrics>
#include <QPainter>
#include <qdrawutil.h>

namespace kt5::platform::qt {

QtFrame::QtFrame(const layout::FrameCaption& caption, QWidget* parent)
    : QGroupBox(parent)
    , caption_(caption)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
}

void QtFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    QRect border = rect();
    border.setTop(layout::FrameCaption::borderTop(metrics.height()));
    qDrawShadeRect(&painter, border, palette(), true, 1);
    if (title().isEmpty())
        return;
    const QString padded = qtString(caption_.padded(title().toStdString()));
    const QRect caption(pixelsFromTwips(caption_.inset), 0, metrics.horizontalAdvance(padded),
                        metrics.height());
    painter.fillRect(caption, palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, padded);
}

} // namespace kt5::platform::qt
