#pragma once

#include <QLabel>

namespace brimtor {

// A label that acts like a link: a hand cursor, and a signal on a left click.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace brimtor
