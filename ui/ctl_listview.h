// A list of rows in columns with headers (a report-style list view): one row
// selected at a time. It never takes the keyboard focus: the window moves
// the selection itself, so the arrows work while a text box has the focus.
#pragma once
#include <string>
#include <vector>

#include "ui/control.h"

namespace ui {

class ListView : public Control {
public:
    ListView(Form& form, std::string name, int index, Control* container);

    struct Column {
        std::string sHeader;
        int32_t lWidth;  // twips
    };
    void setColumns(const std::vector<Column>& columns);
    std::string header(int col) const;
    void clear();
    void addRow(const std::vector<std::string>& cells);
    int rowCount() const;
    std::string cell(int row, int col) const;
    // The selected row, -1 for none; an index out of range selects none.
    int listIndex() const;
    void setListIndex(int lIndex);
    bool setBackColor(int32_t lColor) override;
    bool setForeColor(int32_t lColor) override;

    // A double click on a row (after the click has selected it).
    std::function<void()> onDblClick;

protected:
    void applyColors() override;
};

}  // namespace ui
