// The knowledge-base windows' placement inside a real main window: a window larger
// than a narrow main window's client area is fitted to it, nothing cut off.
#include "core/placement.h"
#include "platform/forms/control.h"
#include "platform/forms/form.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QtTest>

class PlacementTest : public QObject {
    Q_OBJECT

private slots:
    void knowledgeBaseWindows()
    {
        QMainWindow main;
        auto* area = new QMdiArea;
        main.setCentralWidget(area);
        forms::Form::setMdiArea(area);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        auto* window = new forms::Form;
        window->setClientSize(6000, 3000);
        window->Show();

        main.resize(700, 500);
        QTRY_COMPARE(forms::Form::MainWidth(), main.frameGeometry().width() * 15);
        core::placeKnowledgeBase(*window);
        QCOMPARE(window->Left(), 0);
        QCOMPARE(window->Top(), 0);
        QCOMPARE(window->Width(), forms::toTwips(area->viewport()->width()));
        window->Unload();
        forms::Form::setMdiArea(nullptr);
    }
};

QTEST_MAIN(PlacementTest)
#include "placement_test.moc"
