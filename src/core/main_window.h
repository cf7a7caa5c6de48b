// MDIFqhmz: the main window. Its eight top-level menus open the working windows one at
// a time inside its MDI area; menuOff/menuOn lock and unlock them together while a
// working window is open. The windows live in libraries above this one, so each menu
// item is wired to its window at start-up: a factory making the window and, for the
// query windows, the dictionary builder that runs first. Items not wired stay disabled.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QString>
#include <functional>

class QAction;
class QMdiArea;

namespace forms { class Form; }

namespace core {

class MDIFqhmz : public QMainWindow {
    Q_OBJECT
public:
    using FormFactory = std::function<forms::Form*()>;
    using Builder = std::function<void()>;
    using Handler = std::function<void()>;

    MDIFqhmz();
    ~MDIFqhmz() override;

    // Menu item `itemName` opens the window that `factory` makes, running `builder`
    // first when one is given, and becomes enabled.
    void wire(const QString& itemName, FormFactory factory, Builder builder = {});
    // Menu item `itemName` runs a batch that has no window of its own (the stock-taking
    // sheet, the settlement); `handler` locks and unlocks the menus itself.
    void wireBatch(const QString& itemName, Handler handler);

    void menuOff();
    void menuOn();

    // A top-level menu or a menu item by its name (`ycrk`, `YcqkWh`), or nullptr.
    QAction* menuAction(const QString& name) const;
    QMdiArea* mdiArea() const { return area_; }

protected:
    // Only 退出系统 ends the program; every other way of closing is refused.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void setTopMenusEnabled(bool enabled);
    void openWorkingWindow(const QString& itemName, const FormFactory& factory,
                           const Builder& builder);
    void zyexit_Click();

    QMdiArea* area_;
    QHash<QString, QAction*> actions_;
    bool ending_ = false;
};

// The one main window of the program (nullptr before it exists).
MDIFqhmz* MainWindow();

// The one-working-window-at-a-time lock, as the windows call it.
void menuOff();
void menuOn();

}  // namespace core
