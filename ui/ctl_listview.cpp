#include "ui/ctl_listview.h"

#include <QHeaderView>
#include <QTreeWidget>

#include "ui/twips.h"
#include "ui/widget_colors.h"

namespace ui {
namespace {
QTreeWidget* tree(QWidget* w) { return static_cast<QTreeWidget*>(w); }
}  // namespace

ListView::ListView(Form& form, std::string name, int index, Control* container)
    : Control(Kind::ListView, form, std::move(name), index, container) {
    auto* w = new QTreeWidget;
    w->setRootIsDecorated(false);
    w->setItemsExpandable(false);
    w->setUniformRowHeights(true);
    w->setSelectionMode(QAbstractItemView::SingleSelection);
    w->setSelectionBehavior(QAbstractItemView::SelectRows);
    w->setFocusPolicy(Qt::NoFocus);
    w->setAllColumnsShowFocus(true);
    w->header()->setSectionsMovable(false);
    w->header()->setStretchLastSection(true);
    QObject::connect(w, &QTreeWidget::itemDoubleClicked, [this](QTreeWidgetItem*, int) {
        if (auto h = onDblClick) h();
    });
    QObject::connect(w, &QTreeWidget::itemSelectionChanged, [this] { fireChange(); });
    attach(w);
}

void ListView::setColumns(const std::vector<Column>& columns) {
    QTreeWidget* t = tree(widget());
    QStringList headers;
    for (const Column& c : columns) headers << QString::fromStdString(c.sHeader);
    t->setColumnCount(static_cast<int>(columns.size()));
    t->setHeaderLabels(headers);
    for (size_t i = 0; i < columns.size(); ++i) t->setColumnWidth(static_cast<int>(i), lPixelsX(columns[i].lWidth));
}

std::string ListView::header(int col) const {
    const QTreeWidgetItem* h = tree(widget())->headerItem();
    return h != nullptr ? h->text(col).toStdString() : std::string();
}

void ListView::clear() { tree(widget())->clear(); }

void ListView::addRow(const std::vector<std::string>& cells) {
    auto* item = new QTreeWidgetItem(tree(widget()));
    for (size_t i = 0; i < cells.size(); ++i) item->setText(static_cast<int>(i), QString::fromStdString(cells[i]));
}

int ListView::rowCount() const { return tree(widget())->topLevelItemCount(); }

std::string ListView::cell(int row, int col) const {
    const QTreeWidgetItem* item = tree(widget())->topLevelItem(row);
    return item != nullptr ? item->text(col).toStdString() : std::string();
}

int ListView::listIndex() const {
    const QList<QTreeWidgetItem*> sel = tree(widget())->selectedItems();
    return sel.isEmpty() ? -1 : tree(widget())->indexOfTopLevelItem(sel.front());
}

void ListView::setListIndex(int lIndex) {
    QTreeWidget* t = tree(widget());
    QTreeWidgetItem* item = t->topLevelItem(lIndex);
    if (item == nullptr) {
        t->clearSelection();
        t->setCurrentItem(nullptr);
        return;
    }
    t->setCurrentItem(item);
    item->setSelected(true);
    t->scrollToItem(item);
}

bool ListView::setBackColor(int32_t lColor) {
    backColor_ = lColor;
    applyColors();
    return true;
}

bool ListView::setForeColor(int32_t lColor) {
    foreColor_ = lColor;
    applyColors();
    return true;
}

void ListView::applyColors() { vApplyColors(widget(), backColor_, foreColor_, QPalette::Base, QPalette::Text); }

}  // namespace ui
