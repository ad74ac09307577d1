#include "platform/ui/ListboxAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPointer>
#include <QTableView>
#include <map>
#include <utility>

namespace fw {
namespace {

// The table: its children are numbered as the view numbers them in the focus and selection
// events it sends, a row of headings and a column of row headings counted whether they show or
// not: the cell of row r and column c is child (r + 1) * (columns + 1) + c + 1.
class ListboxTable : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit ListboxTable(QTableView* view) : QAccessibleWidget(view, QAccessible::Table) {}
  ~ListboxTable() override { DropCells(); }

  QTableView* View() const { return static_cast<QTableView*>(widget()); }
  QAbstractItemModel* Model() const { return View()->model(); }
  // Row -1 holds the column headings, column -1 the row headings.
  QAccessibleInterface* Cell(int row, int column) const;

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }
  int childCount() const override { return (rowCount() + 1) * (columnCount() + 1); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    return Cell(index / (columnCount() + 1) - 1, index % (columnCount() + 1) - 1);
  }
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override {
    const QModelIndex index = View()->indexAt(View()->viewport()->mapFromGlobal(QPoint(x, y)));
    return index.isValid() ? Cell(index.row(), index.column()) : nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    const QModelIndex current = View()->currentIndex();
    return current.isValid() ? Cell(current.row(), current.column()) : nullptr;
  }

  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    return row >= 0 && row < rowCount() && column >= 0 && column < columnCount() ? Cell(row, column) : nullptr;
  }
  int selectedCellCount() const override { return int(Selection()->selectedIndexes().size()); }
  QList<QAccessibleInterface*> selectedCells() const override {
    QList<QAccessibleInterface*> cells;
    for (const QModelIndex& index : Selection()->selectedIndexes()) cells.append(Cell(index.row(), index.column()));
    return cells;
  }
  QString columnDescription(int column) const override {
    return Model()->headerData(column, Qt::Horizontal).toString();
  }
  QString rowDescription(int) const override { return {}; }
  int selectedColumnCount() const override { return int(Selection()->selectedColumns().size()); }
  int selectedRowCount() const override { return int(Selection()->selectedRows().size()); }
  int columnCount() const override { return Model()->columnCount(); }
  int rowCount() const override { return Model()->rowCount(); }
  QList<int> selectedColumns() const override {
    QList<int> columns;
    for (const QModelIndex& index : Selection()->selectedColumns()) columns.append(index.column());
    return columns;
  }
  QList<int> selectedRows() const override {
    QList<int> rows;
    for (const QModelIndex& index : Selection()->selectedRows()) rows.append(index.row());
    return rows;
  }
  bool isColumnSelected(int column) const override { return Selection()->isColumnSelected(column); }
  bool isRowSelected(int row) const override { return Selection()->isRowSelected(row); }
  bool selectRow(int row) override {
    View()->selectRow(row);
    return true;
  }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int row) override {
    Selection()->select(Model()->index(row, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    return true;
  }
  bool unselectColumn(int) override { return false; }
  // A cell keeps its row and column: a change that moves rows or columns drops the cells made.
  void modelChange(QAccessibleTableModelChangeEvent* event) override {
    if (event->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged) DropCells();
  }

 private:
  QItemSelectionModel* Selection() const { return View()->selectionModel(); }
  void DropCells() {
    for (const auto& [place, id] : cells_) QAccessible::deleteAccessibleInterface(id);
    cells_.clear();
  }

  // Made when first asked for: a list of 100,000 rows makes none until a screen reader looks.
  mutable std::map<std::pair<int, int>, QAccessible::Id> cells_;
};

class ListboxCell : public QAccessibleInterface,
                    public QAccessibleTableCellInterface,
                    public QAccessibleActionInterface {
 public:
  ListboxCell(QTableView* view, int row, int column) : view_(view), row_(row), column_(column) {}

  int Row() const { return row_; }
  int Column() const { return column_; }

  bool isValid() const override {
    return view_ && view_->model() && row_ < view_->model()->rowCount() && column_ < view_->model()->columnCount();
  }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(view_.data()); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }

  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !isValid() || column_ < 0) return {};
    if (row_ < 0) return view_->model()->headerData(column_, Qt::Horizontal).toString();
    return Index().data(Qt::AccessibleTextRole).toString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!isValid() || column_ < 0) return {};
    if (row_ < 0) {
      QHeaderView* heading = view_->horizontalHeader();
      const QRect r(heading->sectionViewportPosition(column_), 0, heading->sectionSize(column_), heading->height());
      return r.translated(heading->viewport()->mapToGlobal(QPoint(0, 0)));
    }
    return view_->visualRect(Index()).translated(view_->viewport()->mapToGlobal(QPoint(0, 0)));
  }
  QAccessible::Role role() const override {
    return column_ < 0 ? QAccessible::RowHeader : row_ < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
  }
  QAccessible::State state() const override {
    QAccessible::State st;
    if (!isValid()) return st;
    if (Heading()) {
      st.invisible = column_ < 0 ? view_->verticalHeader()->isHidden() : view_->horizontalHeader()->isHidden();
      return st;
    }
    const QModelIndex index = Index();
    if (!view_->viewport()->rect().intersects(view_->visualRect(index))) st.invisible = true;
    const Qt::ItemFlags flags = index.flags();
    st.selectable = st.focusable = (flags & Qt::ItemIsSelectable) != 0;
    st.selected = view_->selectionModel()->isSelected(index);
    st.focused = view_->currentIndex() == index;
    const QVariant tick = index.data(Qt::CheckStateRole);
    st.checkable = (flags & Qt::ItemIsUserCheckable) && tick.isValid();
    st.checked = tick.isValid() && tick.toInt() == Qt::Checked;
    return st;
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (Heading()) return nullptr;
    if (t == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
    if (t == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
  }

  bool isSelected() const override { return isValid() && view_->selectionModel()->isSelected(Index()); }
  QList<QAccessibleInterface*> columnHeaderCells() const override {
    auto* table = dynamic_cast<ListboxTable*>(parent());
    return table ? QList<QAccessibleInterface*>{table->Cell(-1, column_)} : QList<QAccessibleInterface*>{};
  }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return column_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

  // Toggling is a tick by the user: the list raises its CellAction, as for a click.
  QStringList actionNames() const override {
    return state().checkable ? QStringList{toggleAction()} : QStringList{};
  }
  void doAction(const QString& name) override {
    const QAccessible::State st = state();
    if (name == toggleAction() && st.checkable)
      view_->model()->setData(Index(), st.checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  bool Heading() const { return row_ < 0 || column_ < 0; }
  QModelIndex Index() const { return view_->model()->index(row_, column_); }

  QPointer<QTableView> view_;
  int row_, column_;
};

QAccessibleInterface* ListboxTable::Cell(int row, int column) const {
  QAccessible::Id& id = cells_[{row, column}];
  if (!id) id = QAccessible::registerAccessibleInterface(new ListboxCell(View(), row, column));
  return QAccessible::accessibleInterface(id);
}

int ListboxTable::indexOfChild(const QAccessibleInterface* child) const {
  const auto* cell = dynamic_cast<const ListboxCell*>(child);
  return cell ? (cell->Row() + 1) * (columnCount() + 1) + cell->Column() + 1 : -1;
}

}  // namespace

QAccessibleInterface* NewListboxAccessible(QTableView* view) { return new ListboxTable(view); }

}  // namespace fw
