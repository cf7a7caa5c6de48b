// MDIFqhmz: menus, the menu lock, wiring of menu items to working windows, and the exit.
#include "core/main_window.h"

#include "core/program_icon.h"
#include "core/progress_window.h"
#include "platform/forms/form.h"
#include "platform/forms/services.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMdiSubWindow>
#include <QPointer>

#include <algorithm>

namespace core {

namespace {

MDIFqhmz* theMainWindow = nullptr;

struct TopMenu {
    const char* name;
    const char* caption;
};

// The eight top-level menus, left to right.
constexpr TopMenu TopMenus[] = {
    {"ZymzZd", "门诊处方管理&Z"}, {"ycrk", "药品入出库管理&R"}, {"zycxll", "数据资料查询&F"},
    {"ZysjDl", "中医数据编辑&D"}, {"xtwh", "系统维护&W"},       {"XtHelp", "系统帮助&H"},
    {"lxzz", "联系作者&L"},       {"zyexit", "退出系统&Q"},
};

// How a menu item opens its window: most set the busy pointer first; the import's
// item only locks the menus and shows its window.
enum class Opening { Busy, Plain };

struct MenuItem {
    const char* menu;
    const char* name;
    const char* caption;
    Opening opening;
};

constexpr MenuItem MenuItems[] = {
    {"ycrk", "ycrc", "药品入/退库", Opening::Busy},
    {"ycrk", "YcqkCk", "药品其它出库", Opening::Busy},
    {"ycrk", "YcqkXs", "门诊处方计价", Opening::Busy},
    {"ycrk", "Yckc", "药材库存查询", Opening::Busy},
    {"ycrk", "YckcPd", "药品库存盘点", Opening::Busy},
    {"zycxll", "zycxll0", "中医药材查询", Opening::Busy},
    {"zycxll", "zycxll1", "中医方剂查询", Opening::Busy},
    {"zycxll", "zycxll2", "中医诊断查询", Opening::Busy},
    {"zycxll", "ZycyCx", "中医成药查询", Opening::Busy},
    {"ZysjDl", "ZysjDl0", "中医药材编辑", Opening::Busy},
    {"ZysjDl", "ZysjDl1", "中医方剂编辑", Opening::Busy},
    {"ZysjDl", "ZysjDl2", "中医诊断编辑", Opening::Busy},
    {"ZysjDl", "ZysjDl3", "中医成药编辑", Opening::Busy},
    {"ZysjDl", "ZysjDl4", "西药登录编辑", Opening::Busy},
    {"xtwh", "YcqkWh", "药品名称编码", Opening::Busy},
    {"xtwh", "Ypjz", "药品结帐", Opening::Busy},
    {"xtwh", "cc", "系统数据备份/恢复", Opening::Busy},
    {"xtwh", "DateSj", "导入岐禾中医数据", Opening::Plain},
};

Opening openingOf(const QString& itemName)
{
    for (const MenuItem& item : MenuItems)
        if (itemName == QLatin1String(item.name))
            return item.opening;
    return Opening::Busy;
}

}  // namespace

MDIFqhmz::MDIFqhmz() : area_(new QMdiArea(this))
{
    theMainWindow = this;
    QApplication::setWindowIcon(programIcon());   // every window of the program carries it
    setWindowTitle(QStringLiteral("欢迎使用岐禾中医门诊系统"));
    setCentralWidget(area_);
    forms::Form::setMdiArea(area_);
    buildMenus();
}

MDIFqhmz::~MDIFqhmz()
{
    if (theMainWindow == this)
        theMainWindow = nullptr;
    forms::Form::setMdiArea(nullptr);
}

void MDIFqhmz::buildMenus()
{
    QHash<QString, QMenu*> menus;
    for (const TopMenu& top : TopMenus) {
        const QString name = QString::fromUtf8(top.name);
        const QString caption = QString::fromUtf8(top.caption);
        QAction* action = nullptr;
        if (std::any_of(std::begin(MenuItems), std::end(MenuItems),
                        [&](const MenuItem& item) { return name == QLatin1String(item.menu); })) {
            QMenu* menu = menuBar()->addMenu(caption);
            menus.insert(name, menu);
            action = menu->menuAction();
        } else {
            action = menuBar()->addAction(caption);   // a top-level command
        }
        action->setObjectName(name);
        actions_.insert(name, action);
    }
    for (const MenuItem& item : MenuItems) {
        QAction* action = menus.value(QString::fromUtf8(item.menu))
                              ->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(QString::fromUtf8(item.name));
        action->setEnabled(false);                    // until its window is wired
        actions_.insert(action->objectName(), action);
    }
    connect(actions_.value(QStringLiteral("zyexit")), &QAction::triggered, this,
            &MDIFqhmz::zyexit_Click);
}

QAction* MDIFqhmz::menuAction(const QString& name) const
{
    return actions_.value(name);
}

void MDIFqhmz::wire(const QString& itemName, FormFactory factory, Builder builder)
{
    wireBatch(itemName, [this, itemName, factory = std::move(factory),
                         builder = std::move(builder)] {
        openWorkingWindow(itemName, factory, builder);
    });
}

void MDIFqhmz::wireBatch(const QString& itemName, Handler handler)
{
    QAction* action = actions_.value(itemName);
    Q_ASSERT_X(action, "MDIFqhmz::wireBatch", "no menu item of that name");
    disconnect(action, &QAction::triggered, nullptr, nullptr);
    connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    action->setEnabled(true);
}

// The menu items trap no error of their own, yet an error in a dictionary builder or
// in a window's loading must not end the program: it is reported in the "错误号码："
// form, a half-opened window and a builder's progress window are dropped, and the
// menus and the arrow come back.
void MDIFqhmz::openWorkingWindow(const QString& itemName, const FormFactory& factory,
                                 const Builder& builder)
{
    QPointer<forms::Form> window;
    try {
        if (openingOf(itemName) == Opening::Busy) {
            forms::DoEvents();
            forms::Screen::setMousePointer(forms::vbArrowHourglass);
        }
        menuOff();
        if (builder) {
            builder();
            forms::DoEvents();
        }
        window = factory();
        window->Show();
    } catch (const std::exception& error) {
        if (window) {
            if (window->subWindow())
                window->subWindow()->deleteLater();
            else
                window->deleteLater();
        }
        for (Frmjdys* progress : findChildren<Frmjdys*>(Qt::FindDirectChildrenOnly))
            progress->Unload();
        forms::Screen::setMousePointer(forms::vbArrow);
        forms::ReportErrorLine(error);
        menuOn();
    }
}

void MDIFqhmz::menuOff() { setTopMenusEnabled(false); }
void MDIFqhmz::menuOn() { setTopMenusEnabled(true); }

// A locked menu gives up its access key too: the menu bar claims the access keys of
// all its menus, enabled or not, and a working window's button with the same letter
// (查询&F, 清屏&Q, 帮助&H) would otherwise be ambiguous and never clicked.
void MDIFqhmz::setTopMenusEnabled(bool enabled)
{
    for (const TopMenu& top : TopMenus) {
        QAction* action = actions_.value(QString::fromUtf8(top.name));
        action->setEnabled(enabled);
        const QString caption = QString::fromUtf8(top.caption);
        action->setText(enabled ? caption : QString(caption).remove(u'&'));
    }
}

void MDIFqhmz::zyexit_Click()
{
    if (forms::MsgBox(QStringLiteral("退出岐禾中医门诊系统吗?"), forms::vbYesNo | forms::vbQuestion)
        != forms::vbYes)
        return;
    ending_ = true;
    close();
    QCoreApplication::exit(0);
}

void MDIFqhmz::closeEvent(QCloseEvent* event)
{
    if (ending_)
        event->accept();
    else
        event->ignore();
}

MDIFqhmz* MainWindow()
{
    return theMainWindow;
}

void menuOff()
{
    if (theMainWindow)
        theMainWindow->menuOff();
}

void menuOn()
{
    if (theMainWindow)
        theMainWindow->menuOn();
}

}  // namespace core
