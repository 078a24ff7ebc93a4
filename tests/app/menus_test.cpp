// The menu bar that the application builds follows the language the setup window's flags
// choose, at once.
#include "app/app.h"
#include "common/testseams.h"
#include "logic/state/globali.h"
#include "logic/state/model.h"
#include "windows/editor/fin_edita.h"
#include "windows/setup/start.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QSignalSpy>
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

    // In the notes editor Ctrl+S saves and Ctrl+Q quits, as on the setup window; Ctrl+O and
    // Ctrl+I, which would replace the pictures under the editor, do nothing there.
    void editorKeys() {
        WindowFixture f;
        start* w = start::instance();
        App app;
        w->Show();
        f.importFolder(f.makeFolder("pics", 2));
        w->bottone1->click();
        fin_edita* editor = fw::Single<fin_edita>::peek();
        QVERIFY(editor);
        QApplication::setActiveWindow(editor);
        QVERIFY(QTest::qWaitForWindowActive(editor));
        f.seams.saveFiles.push_back(f.path("saved.v69"));
        f.seams.openFiles.push_back(f.path("saved.v69"));
        f.seams.folders.push_back(f.path("pics"));
        QSignalSpy quit(FileQuit(), &QAction::triggered);
        QTest::keyClick(editor, Qt::Key_O, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_I, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(QFile::exists(f.path("saved.v69")));
        QCOMPARE(f.seams.openFiles.size(), size_t(1));
        QCOMPARE(f.seams.folders.size(), size_t(1));
        // Quitting is the menu's own item: seen, not carried out, within a test.
        QObject::disconnect(FileQuit(), &QAction::triggered, qApp, nullptr);
        QTest::keyClick(editor, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(quit.size(), 1);
    }
};

QTEST_MAIN(MenusTest)
#include "menus_test.moc"
