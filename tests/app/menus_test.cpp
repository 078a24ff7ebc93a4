// The menu bar that the application builds follows the language the setup window's flags
// choose, at once.
#include "app/app.h"
#include "common/testseams.h"
#include "logic/state/globali.h"
#include "logic/state/model.h"
#include "windows/setup/start.h"

#include <QAction>
#include <QTest>

using namespace Globali;

class MenusTest : public QObject {
    Q_OBJECT
  private slots:
    void flagsSwitchLanguageAtOnce() {
        WindowFixture f(QSize(1280, 1024));
        start* w = start::instance();
        App app;
        QTest::mouseClick(w->Canvasl(1), Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(lingua, int(language::Italian));
        QCOMPARE(w->windowTitle(), QString("Settaggi presentazione: 1280x1024 pixels"));
        QCOMPARE(FileMenu()->text(), QString("Archivio"));
    }
};

QTEST_MAIN(MenusTest)
#include "menus_test.moc"
