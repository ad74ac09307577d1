#include "platform/ui/Listbox.h"

#include <QAbstractTableModel>
#include <QAccessible>
#include <algorithm>
#include <functional>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QResizeEvent>
#include <QStyledItemDelegate>
#include <QTableView>

#include "platform/core/Log.h"
#include "platform/core/Strings.h"
#include "platform/ui/ListboxAccessible.h"
#include "platform/ui/Picture.h"
#include "platform/ui/Window.h"

namespace fw {

// The rows, kept as plain strings: large lists (100,000 rows) stay cheap.
class ListboxModel : public QAbstractTableModel {
 public:
  struct Cell {
    std::string text;
    ListCellType type = ListCellType::Default;
    bool checked = false;
  };

  ListboxModel(Listbox& owner, int columns, std::vector<std::string> headings)
      : owner_(owner), columns_(columns), headings_(std::move(headings)) {}

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(rows_.size()); }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : columns_; }

  QVariant data(const QModelIndex& index, int role) const override {
    const Cell* c = At(index.row(), index.column());
    if (!c) return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
      if (c->type != ListCellType::Checkbox) return QString::fromStdString(c->text);
      if (role == Qt::DisplayRole) return {};
      // A check box shows no text: a screen reader names it by the cell beside it.
      const Cell* beside = At(index.row(), index.column() + 1);
      return QString::fromStdString(c->text.empty() && beside ? beside->text : c->text);
    }
    if (role == Qt::CheckStateRole && c->type == ListCellType::Checkbox) return c->checked ? Qt::Checked : Qt::Unchecked;
    return {};
  }

  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    Cell* c = At(index.row(), index.column());
    if (!c || role != Qt::CheckStateRole || c->type != ListCellType::Checkbox) return false;
    c->checked = value.toInt() == Qt::Checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    // Only the view writes through setData: this is the user's tick.
    RunCatching("a list", [&] { owner_.CellAction.Raise(index.row(), index.column()); });
    return true;
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override {
    const Cell* c = At(index.row(), index.column());
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (c && c->type == ListCellType::Checkbox) f |= Qt::ItemIsUserCheckable;
    return f;
  }

  QVariant headerData(int section, Qt::Orientation o, int role) const override {
    if (o == Qt::Horizontal && role == Qt::DisplayRole && section < int(headings_.size()))
      return QString::fromStdString(headings_[size_t(section)]);
    return {};
  }

  void AddRow(const std::string& text) {
    beginInsertRows({}, int(rows_.size()), int(rows_.size()));
    rows_.emplace_back(size_t(columns_));
    rows_.back()[0].text = text;
    endInsertRows();
  }

  void Clear() {
    beginResetModel();
    rows_.clear();
    tags_.clear();
    endResetModel();
  }

  // Tags are kept only up to the last row that has one: most lists have none.
  std::string Tag(int row) const { return row >= 0 && size_t(row) < tags_.size() ? tags_[size_t(row)] : std::string(); }
  void SetTag(int row, std::string tag) {
    if (row < 0 || size_t(row) >= rows_.size()) return;
    if (size_t(row) >= tags_.size()) tags_.resize(size_t(row) + 1);
    tags_[size_t(row)] = std::move(tag);
  }

  Cell* At(int row, int column) {
    if (row < 0 || column < 0 || row >= int(rows_.size()) || column >= columns_) return nullptr;
    return &rows_[size_t(row)][size_t(column)];
  }
  const Cell* At(int row, int column) const { return const_cast<ListboxModel*>(this)->At(row, column); }
  void Changed(int row, int column) { emit dataChanged(index(row, column), index(row, column)); }
  const std::vector<std::string>& Headings() const { return headings_; }

 private:
  Listbox& owner_;
  int columns_;
  std::vector<std::string> headings_;
  std::vector<std::vector<Cell>> rows_;
  std::vector<std::string> tags_;
};

namespace {

// Lets the list's owner paint each cell's background before the standard drawing.
class CellDelegate : public QStyledItemDelegate {
 public:
  CellDelegate(Listbox& owner, QObject* parent) : QStyledItemDelegate(parent), owner_(owner) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (owner_.CellBackgroundPaint.IsBound()) {
      painter->save();
      painter->translate(option.rect.topLeft());
      painter->setClipRect(QRect(QPoint(0, 0), option.rect.size()));
      Graphics g(*painter, option.rect.width(), option.rect.height());
      bool drawnWhole = owner_.CellBackgroundPaint.Raise(g, index.row(), index.column());
      painter->restore();
      if (drawnWhole) return;
    }
    QStyledItemDelegate::paint(painter, option, index);
  }

 private:
  Listbox& owner_;
};

}  // namespace

// Re-lays the column widths whenever the list changes size. A key press or a click may select
// in several steps (Qt selects the row an arrow key moves to twice): the list raises Change once,
// when the view has done.
class ListboxView : public QTableView {
 public:
  explicit ListboxView(Listbox& owner) : QTableView(owner.Owner().Content()), owner_(owner) {}

 protected:
  void resizeEvent(QResizeEvent* e) override {
    QTableView::resizeEvent(e);
    owner_.ApplyColumnWidths();
  }
  void keyPressEvent(QKeyEvent* e) override {
    UserInput([&] { QTableView::keyPressEvent(e); });
  }
  bool viewportEvent(QEvent* e) override {
    switch (e->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove: {
        bool handled = false;
        UserInput([&] { handled = QTableView::viewportEvent(e); });
        return handled;
      }
      default:
        return QTableView::viewportEvent(e);
    }
  }

 private:
  void UserInput(const std::function<void()>& handle) {
    owner_.settling_ = true;
    handle();
    owner_.settling_ = false;
    RunCatching("a list", [this] { owner_.SelectionChanged(); });
  }
  Listbox& owner_;
};

Listbox::Listbox(Window& window, const ControlDecl& decl, const ListboxDecl& list) : Control(window, decl), decl_(list) {
  // Once per process: a screen reader gets every list's view through ListboxAccessible.
  [[maybe_unused]] static const bool accessible = [] {
    QAccessible::installFactory([](const QString&, QObject* object) -> QAccessibleInterface* {
      auto* view = dynamic_cast<ListboxView*>(object);
      return view ? NewListboxAccessible(view) : nullptr;
    });
    return true;
  }();
  std::vector<std::string> headings;
  if (list.HasHeading) headings = Split(list.InitialValue, "\t");
  model_ = std::make_unique<ListboxModel>(*this, std::max(list.ColumnCount, 1), headings);
  view_ = new ListboxView(*this);
  view_->setModel(model_.get());
  view_->setItemDelegate(new CellDelegate(*this, view_));
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->setShowGrid(false);
  view_->setTabKeyNavigation(false);  // Tab moves the focus on, as in every other control
  view_->setWordWrap(false);
  view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view_->setVerticalScrollBarPolicy(list.ScrollBarVertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  view_->verticalHeader()->hide();
  view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view_->setFocusPolicy(Qt::StrongFocus);
  view_->horizontalHeader()->setVisible(list.HasHeading);
  view_->horizontalHeader()->setHighlightSections(false);
  view_->horizontalHeader()->setSectionResizeMode(list.ColumnsResizable ? QHeaderView::Interactive : QHeaderView::Fixed);
  view_->horizontalHeader()->setStretchLastSection(true);
  ApplyFont(view_, list.Font);
  view_->verticalHeader()->setDefaultSectionSize(QFontMetrics(view_->font()).height() + 6);
  QObject::connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, [this] { RunCatching("a list", [this] { SelectionChanged(); }); });
  Adopt(view_);
  ApplyColumnWidths();
}

Listbox::~Listbox() {
  // The view (deleted with the window) must not outlive its model in a usable state.
  if (Widget()) view_->setModel(nullptr);
}

void Listbox::ApplyColumnWidths() {
  int columns = model_->columnCount({});
  int total = view_->viewport()->width();
  if (total <= 0) total = Width();
  std::vector<std::string> specs = decl_.ColumnWidths.empty() ? std::vector<std::string>() : Split(decl_.ColumnWidths, ",");
  int used = 0;
  std::vector<int> widths(size_t(columns), -1);
  for (int c = 0; c < columns && c < int(specs.size()); ++c) {
    std::string s = Trim(specs[size_t(c)]);
    if (s == "*" || s.empty()) continue;
    double v = Val(s);
    widths[size_t(c)] = s.back() == '%' ? int(total * v / 100.0) : int(v);
    used += widths[size_t(c)];
  }
  int stars = int(std::count(widths.begin(), widths.end(), -1));
  for (int c = 0; c < columns; ++c) {
    int w = widths[size_t(c)] >= 0 ? widths[size_t(c)] : std::max((total - used) / std::max(stars, 1), 0);
    view_->setColumnWidth(c, w);
  }
}

void Listbox::AddRow(const std::string& text) { model_->AddRow(text); }

void Listbox::DeleteAllRows() {
  model_->Clear();
  SelectionChanged();
}

int Listbox::ListCount() const { return model_->rowCount({}); }

std::string Listbox::List(int row) const { return Cell(row, 0); }

std::string Listbox::RowTag(int row) const { return model_->Tag(row); }

void Listbox::SetRowTag(int row, std::string tag) { model_->SetTag(row, std::move(tag)); }

std::string Listbox::Cell(int row, int column) const {
  const auto* c = model_->At(row, column);
  return c ? c->text : std::string();
}

void Listbox::SetCell(int row, int column, const std::string& text) {
  if (auto* c = model_->At(row, column)) {
    c->text = text;
    model_->Changed(row, column);
  }
}

ListCellType Listbox::CellType(int row, int column) const {
  const auto* c = model_->At(row, column);
  return c ? c->type : ListCellType::Default;
}

void Listbox::SetCellType(int row, int column, ListCellType type) {
  if (auto* c = model_->At(row, column)) {
    c->type = type;
    model_->Changed(row, column);
  }
}

bool Listbox::CellCheck(int row, int column) const {
  const auto* c = model_->At(row, column);
  return c && c->checked;
}

void Listbox::SetCellCheck(int row, int column, bool checked) {
  if (auto* c = model_->At(row, column)) {
    if (c->checked == checked) return;
    c->checked = checked;
    model_->Changed(row, column);
  }
}

int Listbox::ListIndex() const { return listIndex_; }

void Listbox::SetListIndex(int row) {
  if (row < 0 || row >= ListCount()) {
    view_->selectionModel()->clearSelection();
    view_->selectionModel()->clearCurrentIndex();
  } else {
    view_->selectionModel()->setCurrentIndex(model_->index(row, 0),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
  SelectionChanged();
}

void Listbox::SelectionChanged() {
  if (settling_) return;
  QModelIndexList rows = view_->selectionModel()->selectedRows();
  int now = rows.isEmpty() ? -1 : rows.first().row();
  if (now == listIndex_) return;
  listIndex_ = now;
  Change.Raise();
}

int Listbox::ColumnCount() const { return model_->columnCount({}); }

std::string Listbox::Heading(int column) const {
  const auto& h = model_->Headings();
  return column >= 0 && column < int(h.size()) ? h[size_t(column)] : std::string();
}

}  // namespace fw
