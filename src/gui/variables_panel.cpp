#include "gui/variables_panel.h"

#include <QHeaderView>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

#include "gui/text_bytes.h"
#include "gui/value_text.h"

namespace trel::gui {

namespace {

// The machine's registers and flags, in the order the panel lists them.
constexpr std::array<const char*, 14> kRegisters = {"RG0",  "RG1",   "RG2", "RG3", "RG4",
                                                    "RG5",  "RG6",   "RG7", "RG8", "RG9",
                                                    "RG10", "RGSTR", "FL1", "FL2"};

bool isRegister(const std::string& name) {
  return std::any_of(kRegisters.begin(), kRegisters.end(),
                     [&](const char* r) { return name == r; });
}

const QColor kChangedBackground(255, 226, 140);

}  // namespace

VariablesPanel::VariablesPanel(QWidget* parent) : QDockWidget(QStringLiteral("Variables"), parent) {
  setObjectName(QStringLiteral("VariablesPanel"));
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  hex_ = new QCheckBox(QStringLiteral("HEX"), body);
  hex_->setObjectName(QStringLiteral("HexView"));
  tree_ = new QTreeWidget(body);
  tree_->setObjectName(QStringLiteral("VariablesTree"));
  tree_->setColumnCount(2);
  tree_->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Value")});
  tree_->setRootIsDecorated(true);
  tree_->setUniformRowHeights(true);
  tree_->header()->setStretchLastSection(true);
  tree_->setColumnWidth(0, 110);
  variables_ = new QTreeWidgetItem(tree_, {QStringLiteral("Variables")});
  registers_ = new QTreeWidgetItem(tree_, {QStringLiteral("Registers")});
  for (QTreeWidgetItem* group : {variables_, registers_}) {
    group->setFirstColumnSpanned(true);
    group->setFlags(Qt::ItemIsEnabled);
    group->setExpanded(true);
  }
  layout->addWidget(hex_);
  layout->addWidget(tree_);
  setWidget(body);
  setMinimumWidth(280);
  connect(hex_, &QCheckBox::toggled, this, [this] { showValues(false); });
}

void VariablesPanel::forget() {
  lastSeen_.clear();
  haveLastSeen_ = false;
}

void VariablesPanel::refresh(const VariableTable& table) {
  ++refreshes_;
  // The program's own names in slot order; a name declared again shows the slot it reads from.
  std::vector<int> ownSlots;
  for (int slot : table.namedSlots()) {
    const std::string& name = table.nameAt(slot);
    if (!isRegister(name) && table.findSlot(name) == slot) ownSlots.push_back(slot);
  }
  std::sort(ownSlots.begin(), ownSlots.end());
  variableRows_.clear();
  for (int slot : ownSlots) variableRows_.push_back({table.nameAt(slot), table.valueAt(slot)});
  registerRows_.clear();
  for (const char* r : kRegisters)
    if (table.VariableExists(r)) registerRows_.push_back({r, table.GetVariable(r)});
  showValues(true);
  lastSeen_.clear();
  for (const auto* rows : {&variableRows_, &registerRows_})
    for (const Row& row : *rows) lastSeen_[row.name] = row.value;
  haveLastSeen_ = true;
}

void VariablesPanel::showValues(bool recolour) {
  tree_->setUpdatesEnabled(false);
  fill(*variables_, variableRows_, recolour);
  fill(*registers_, registerRows_, recolour);
  tree_->setUpdatesEnabled(true);
}

void VariablesPanel::fill(QTreeWidgetItem& group, const std::vector<Row>& rows, bool recolour) {
  const int count = static_cast<int>(rows.size());
  while (group.childCount() > count) delete group.takeChild(group.childCount() - 1);
  while (group.childCount() < count) new QTreeWidgetItem(&group);
  for (int i = 0; i < count; ++i) {
    const Row& row = rows[static_cast<size_t>(i)];
    QTreeWidgetItem* item = group.child(i);
    QString name = fromBytes(row.name);
    QString value = hex_->isChecked() ? hexValue(row.value) : readableValue(row.value);
    if (item->text(0) != name) item->setText(0, name);
    if (item->text(1) != value) item->setText(1, value);
    if (!recolour) continue;
    auto seen = lastSeen_.find(row.name);
    bool changed = haveLastSeen_ && (seen == lastSeen_.end() || seen->second != row.value);
    if (item->data(0, Qt::UserRole).toBool() == changed) continue;  // already drawn so
    item->setData(0, Qt::UserRole, changed);
    QBrush background = changed ? QBrush(kChangedBackground) : QBrush();
    QBrush foreground = changed ? QBrush(Qt::black) : QBrush();
    QFont font = item->font(0);
    font.setBold(changed);
    for (int column = 0; column < 2; ++column) {
      item->setBackground(column, background);
      item->setForeground(column, foreground);
      item->setFont(column, font);
    }
  }
}

std::vector<std::string> VariablesPanel::changedNames() const {
  std::vector<std::string> names;
  for (QTreeWidgetItem* group : {variables_, registers_})
    for (int i = 0; i < group->childCount(); ++i)
      if (group->child(i)->data(0, Qt::UserRole).toBool())
        names.push_back(toBytes(group->child(i)->text(0)));
  return names;
}

}  // namespace trel::gui
