#pragma once

#include <QLabel>

namespace brimtor {

// A label that acts like a link: a hand cursor, a place in the focus order, and a signal on a
// left click or on Enter or Space. Screen readers meet it as a link they can press.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace brimtor
