#pragma once
// What assistive technology (a screen reader, over AT-SPI) gets of a list: a table of cells, a
// check-box cell reporting that it can be ticked and whether it is, named by the text of the
// cell beside it, with a "Toggle" action. Qt 6.4's own table cells report a tick as "checked"
// but never as "checkable", so an unticked row sounded like an empty cell.
class QAccessibleInterface;
class QTableView;

namespace fw {

// The interface of a list's view; the accessibility framework owns it.
QAccessibleInterface* NewListboxAccessible(QTableView* view);

}  // namespace fw
