#include "platform/qt/qt_frame.h"

#include <QFontMetrics>
#include <QPainter>
#include <qdrawutil.h>

namespace kt5::platform::qt {

QtFrame::QtFrame(int captionInset, QWidget* parent)
    : QGroupBox(parent)
    , captionInset_(captionInset)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
}

void QtFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    QRect border = rect();
    border.setTop(metrics.height() / 2);
    qDrawShadeRect(&painter, border, palette(), true, 1);
    if (title().isEmpty())
        return;
    const QString padded = QLatin1Char(' ') + title() + QLatin1Char(' ');
    const QRect caption(captionInset_, 0, metrics.horizontalAdvance(padded), metrics.height());
    painter.fillRect(caption, palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, padded);
}

} // namespace kt5::platform::qt
