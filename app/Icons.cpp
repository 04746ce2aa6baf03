#include "app/Icons.hpp"

#include <QPainter>
#include <QPixmap>

namespace brimtor {

QIcon BrowserIcon(QChar letter, const QColor& colour)
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(0, 0, 16, 16);
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(picture.rect(), Qt::AlignCenter, QString(letter));
    return QIcon(picture);
}

}  // namespace brimtor
