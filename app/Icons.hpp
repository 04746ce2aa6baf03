#pragma once

#include <QColor>
#include <QIcon>

// Small pictures drawn at run time, so the program ships no image files.
namespace brimtor {

// A round badge with a letter, standing for a browser.
QIcon BrowserIcon(QChar letter, const QColor& colour);

}  // namespace brimtor
