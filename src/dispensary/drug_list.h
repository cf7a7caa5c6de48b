// Frmyjwh "药品价格维护": the dispensary's master list of drugs (table `ycjg`: code,
// name, sales price, unit, category). The window adds a drug, changes its code, its
// name or its other fields, deletes it, and lists the whole table in its grid, ordered
// by code; a click on a grid row fills the inputs for the next change. Code and name
// stay unique: each add or change looks for another row with the same value first.
// The 打印 button writes the listed drugs to a workbook (drug_list_export.h).
//
// Opened from the main window's item `YcqkWh`; closed by its close box, which gives
// the main menus back. Every activation (the first showing, the return from the help
// window) clears the inputs and reloads the category list and the grid.
#pragma once

#include "core/write_routine.h"
#include "platform/forms/buttons.h"
#include "platform/forms/form.h"

#include <QString>
#include <functional>
#include <vector>

class QFrame;

namespace dao {
class Database;
class Recordset;
}

namespace forms {
class ComboBox;
class FlexGrid;
class TextBox;
}

namespace dispensary {

class Frmyjwh : public forms::Form {
    Q_OBJECT
public:
    Frmyjwh();
    ~Frmyjwh() override;

    forms::ComboBox* CboYplb;        // category, editable, list of the categories in use
    forms::TextBox* Txtycbm;         // code, at most 20 characters
    forms::TextBox* Txtycmc;         // name, at most 50 characters
    forms::TextBox* TxtJldw;         // unit of measure
    forms::TextBox* Txtycdj;         // sales price, right-aligned
    forms::CommandButton* CmdSave;
    forms::CommandButton* CmdBmxg;
    forms::CommandButton* CmdMcxg;
    forms::CommandButton* Cmdedit;
    forms::CommandButton* Command1;
    forms::CommandButton* Cmddele;
    forms::CommandButton* CmdExit;
    forms::CommandButton* CmdQcls;
    forms::FlexGrid* MSFGridBmmc;
    forms::ControlArray<forms::Label> Label1;    // 药材编码, 药材名称, 计量单位, 药品类别
    forms::Label* Label3;                        // 药材销价
    QFrame* Line1;

    // The input-error flag: 1 while the last input check failed, 0 after it passed.
    int srnrcw = 0;

    // Clears the inputs and reloads the category list and the grid from `ycjg`.
    void Qpcls();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(int& cancel) override;

private:
    // The fills of the category list and the grid, on the database Qpcls opened.
    void YplbAdd(dao::Database& db);
    void GridBmmcAdd(dao::Database& db);
    void srnrJy();

    void CmdSave_Click();
    void CmdBmxg_Click();
    void CmdMcxg_Click();
    void Cmdedit_Click();
    void Cmddele_Click();
    void CmdQcls_Click();
    void Command1_Click();
    void CmdExit_Click();
    void MSFGridBmmc_Click();

    void CboYplb_KeyPress(int& keyAscii);
    void Txtycbm_KeyPress(int& keyAscii);
    void Txtycmc_KeyPress(int& keyAscii);
    void TxtJldw_KeyPress(int& keyAscii);
    void Txtycdj_KeyPress(int& keyAscii);

    // The shared steps of the writing buttons, through the window's write routine:
    // the input check first (a price beyond any range ends in the description of its
    // overflow), then `unique` on the open database (it tells the user of a duplicate
    // code or name), then `change` in one transaction. A change that finds its drug
    // absent returns false: the user is told "此条记录尚未保存" and the focus goes to
    // the save button. Written, the window is reset with the focus on `next`.
    void writeChecked(const core::WriteRoutine::Work& unique, const core::WriteRoutine::Work& change,
                      forms::Control* next);
    bool codeTaken(dao::Database& db);
    bool nameTaken(dao::Database& db);
    // The change that seeks `key` on `index` ("ycbmi" a code, "ycmci" a name) and,
    // found, rewrites the columns `ordinals` (data::ycjg) from the checked inputs.
    core::WriteRoutine::Work rewriteStoredDrug(const QString& index, const QString& key,
                                               const std::vector<int>& ordinals);
    // Writes the checked inputs into the record's columns `ordinals` (data::ycjg).
    void writeColumns(dao::Recordset& drug, const std::vector<int>& ordinals) const;

    void layOut();

    core::WriteRoutine writer_{*this};
};

}  // namespace dispensary
