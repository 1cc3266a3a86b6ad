#pragma once

class QWidget;

// A panel's place in the main window, in twips. The panel sits in a frame window when it
// has one; that frame is what moves and what the width counts.
namespace Placement {

int top(const QWidget* panel);
void setTop(QWidget* panel, int tw);
int left(const QWidget* panel);
void setLeft(QWidget* panel, int tw);
int outerWidth(const QWidget* panel);

} // namespace Placement
