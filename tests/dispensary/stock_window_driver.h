// The driving that the stock window tests share: the window opened through its menu
// item on a fresh database that holds the drug list, a valid movement filled in, a
// code typed and looked up, one box's Enter refused, the save pressed with its
// questions answered (an empty queue answers OK or Yes), and the input checks broken in
// their order. A driver of StockMovementWindow drives either stock window through
// their base.
#pragma once

#include "dispensary_support.h"
#include "dispensary/stock_in.h"
#include "dispensary/stock_out.h"

#include <initializer_list>
#include <type_traits>

namespace stocktest {

template <class Window>
class StockWindowDriver {
public:
    template <class Concrete = Window>
    explicit StockWindowDriver(const QString& menuItem, std::type_identity<Concrete> = {})
    {
        seedDrugList(world.environment());
        window = world.open<Concrete>(menuItem);
    }
    ~StockWindowDriver() { core::LoginUser.clear(); }

    WindowFixture world;
    Window* window = nullptr;

    TestEnvironment& environment() { return world.environment(); }

    // Fills every box of a stock window with a valid movement of `code` (looked up through Enter).
    void fill(const QString& code, const QString& quantity, const QString& amount)
    {
        auto* in = dynamic_cast<dispensary::Frmycrk*>(window);
        window->Txtycbm->setText(code);
        WindowFixture::pressEnter(window->Txtycbm);
        window->TxtPjhm->setText(in ? "B-001" : "C-07");
        window->Txthwll->setText(in ? "岷县药材公司" : "科室领用");
        window->TxtYcsl->setText(quantity);
        window->TxtYcje->setText(amount);
        window->Txtjbxm->setText(in ? "张三" : "李四");
        if (in) {
            in->TxtYcph->setText("P2024");
            in->Txthwcd->setText("甘肃");
        }
    }

    // Types `code` into the code box and presses Enter there.
    void lookUpCode(const QString& code)
    {
        window->Txtycbm->SetFocus();
        WindowFixture::type(window->Txtycbm, code);
        WindowFixture::pressEnter(window->Txtycbm);
    }

    // A box given a text, and the message (for Enter, under its icon) that refuses it.
    struct BoxCase {
        forms::TextBox* box;
        QString text;
        QString message;
        int icon = forms::vbInformation;
    };
    // Each text put into its box as a paste puts it, Enter pressed there: refused with the
    // message alone under its icon, and the box keeps the focus.
    void expectEnterRefused(const std::vector<BoxCase>& cases)
    {
        for (const BoxCase& c : cases) {
            world.clearMessages();
            c.box->setText(c.text);
            c.box->SetFocus();
            WindowFixture::pressEnter(c.box);
            QCOMPARE(world.messages(), QStringList{c.message});
            QCOMPARE(world.boxes().shown().front().icon, c.icon);
            QCOMPARE(WindowFixture::focusedControl(), c.box);
        }
    }

    // Clears the message log, answers the questions and presses the save button.
    void save(std::initializer_list<int> answers = {})
    {
        world.clearMessages();
        world.answer(answers);
        WindowFixture::click(window->CmdSave);
    }

    // The checks in their order, each broken together with the next one (when that is
    // another box): the save stops at the earlier one with the focus on its box and
    // nothing written, so two checks swapped fail here.
    void expectChecksInOrder(const std::vector<BoxCase>& checks)
    {
        for (std::size_t i = 0; i < checks.size(); ++i) {
            WindowFixture::click(window->CmdQcls);
            fill("DG01", "10", "200");
            if (i + 1 < checks.size() && checks[i + 1].box != checks[i].box) checks[i + 1].box->setText(checks[i + 1].text);
            checks[i].box->setText(checks[i].text);
            save();
            QCOMPARE(world.messages().last(), checks[i].message);
            QCOMPARE(WindowFixture::focusedControl(), checks[i].box);
            QCOMPARE(environment().count("yccrtb"), 0);
        }
    }
};

}  // namespace stocktest
