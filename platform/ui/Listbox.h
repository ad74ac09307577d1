#pragma once
// A list of rows and columns with optional check-box cells, a heading and per-cell
// background painting. Rows and cells count from 0; ListIndex -1 means no row is selected.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Control.h"

class QTableView;

namespace fw {

class Graphics;
class ListboxModel;
class ListboxView;

enum class ListCellType { Default = 0, Checkbox = 2 };

struct ListboxDecl {
  int ColumnCount = 1;
  std::string ColumnWidths;  // e.g. "6%,55%,*": percentages of the width, "*" the rest
  bool HasHeading = false;
  std::string InitialValue;  // the headings, separated by TAB
  bool ColumnsResizable = false;
  bool ScrollBarVertical = true;
  FontDecl Font;
};

class Listbox : public Control {
 public:
  Listbox(Window& window, const ControlDecl& decl, const ListboxDecl& list);
  ~Listbox() override;

  // Adds a row whose first cell holds text.
  void AddRow(const std::string& text);
  void DeleteAllRows();
  int ListCount() const;
  // The first cell's text of a row; empty for a row that does not exist.
  std::string List(int row) const;
  // What the program keeps with a row, unseen; empty when none was set or the row does not exist.
  std::string RowTag(int row) const;
  void SetRowTag(int row, std::string tag);
  std::string Cell(int row, int column) const;
  void SetCell(int row, int column, const std::string& text);
  ListCellType CellType(int row, int column) const;
  void SetCellType(int row, int column, ListCellType type);
  bool CellCheck(int row, int column) const;
  // Raises no CellAction: that event is for the user's ticks.
  void SetCellCheck(int row, int column, bool checked);
  int ListIndex() const;
  // Raises Change before it returns when the selection changes. Out-of-range rows select none.
  void SetListIndex(int row);
  int ColumnCount() const;
  std::string Heading(int column) const;
  QTableView* View() const { return view_; }

  Event<void()> Change;
  Event<void(int, int)> CellAction;
  // g draws on the one cell; True means the handler drew the whole cell.
  Event<bool(Graphics&, int, int)> CellBackgroundPaint;

 private:
  friend class ListboxModel;
  friend class ListboxView;
  void ApplyColumnWidths();
  void SelectionChanged();
  ListboxDecl decl_;
  QTableView* view_;
  std::unique_ptr<ListboxModel> model_;
  int listIndex_ = -1;
  bool settling_ = false;  // the view is handling the user's input
};

}  // namespace fw
