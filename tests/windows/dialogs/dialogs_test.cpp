// The warning dialogs and the about box: what the warnings show, that they beep once, and
// that every way out of a dialog leaves it gone and the setup window in front. The progress
// of work on the GUI thread: shown only once the work has taken noticeable time.
#include "common/testseams.h"
#include "kit/progress.h"
#include "windows/dialogs/cart_noi.h"
#include "windows/dialogs/cart_spo.h"
#include "windows/dialogs/info.h"
#include "windows/setup/start.h"

#include <QFileDialog>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>

class DialogsTest : public QObject {
    Q_OBJECT
  private slots:
    // A warning beeps when it opens, not when reached again; it names the missing folder and
    // shows its path as they are, on one line. (Their captions in both languages: menus_test.)
    void warnings() {
        WindowFixture f;
        cart_spo::missing = f.path("Foto <i>2024/");
        cart_spo* d = fw::Single<cart_spo>::get();
        fw::Single<cart_spo>::get();
        QCOMPARE(f.seams.beeps, 1);
        QVERIFY2(d->StaticText1->text().contains("> Foto <i>2024 <"),
                 qPrintable(d->StaticText1->text()));
        QCOMPARE(d->StaticText2->text(), cart_spo::missing);
        d->StaticText2->setText("Foto " + QString(60, 'x')); // one line, cut at the box's end
        const QImage line = d->StaticText2->grab().toImage();
        QVERIFY(!line.copy(line.width() - 10, 0, 10, 12).allGray());
        d->PushButton1_Action();
        fw::Single<cart_noi>::get();
        QCOMPARE(f.seams.beeps, 2);
        fw::Single<info>::get();
        QCOMPARE(f.seams.beeps, 2);
    }

    void waysOut_data() {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<int>("way");
        for (int dialog = 0; dialog < 3; ++dialog)
            for (int way = 0; way < 3; ++way)
                QTest::addRow("%s: %s", QList<const char*>{"cart_spo", "cart_noi", "info"}[dialog],
                              QList<const char*>{"Return", "OK clicked", "close box"}[way])
                    << dialog << way;
    }
    void waysOut() {
        QFETCH(int, dialog);
        QFETCH(int, way);
        WindowFixture f;
        start::instance()->Hide(); // the setup window is there, behind or hidden
        dialogo* d = dialog == 0   ? static_cast<dialogo*>(fw::Single<cart_spo>::get())
                     : dialog == 1 ? static_cast<dialogo*>(fw::Single<cart_noi>::get())
                                   : fw::Single<info>::get();
        d->Show();
        QPointer<dialogo> watch(d);
        if (way == 0) QTest::keyClick(d, Qt::Key_Return);
        if (way == 1) QTest::mouseClick(d->PushButton1, Qt::LeftButton);
        if (way == 2) d->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(watch.isNull());
        QVERIFY(start::instance()->isVisible());
    }

    // The about box's author line underlines under the pointer and writes a mail; the logo
    // opens the web page.
    void aboutLinks() {
        WindowFixture f;
        info* d = fw::Single<info>::get();
        d->Show();
        QVERIFY(!d->StaticText2->textFont().underline());
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(d->StaticText2, &enter);
        QVERIFY(d->StaticText2->textFont().underline());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(d->StaticText2, &leave);
        QVERIFY(!d->StaticText2->textFont().underline());
        QTest::mouseClick(d->StaticText2, Qt::LeftButton);
        QTest::mouseClick(d->Canvas1, Qt::LeftButton, {}, QPoint(30, 30));
        QCOMPARE(f.seams.links,
                 QStringList({"mailto:vetrinova@example.org", "https://vetrinova.example.org"}));
        QVERIFY(d->isVisible());
    }

    // The desktop's open dialog lists presentation files first, whatever their extension.
    void openDialogOffersPresentations() {
        WindowFixture f;
        seams::hooks().openFile = seams::systemHooks().openFile;
        QStringList shown;
        QTimer poll; // until the dialog is up, however slow the machine
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                shown = d->nameFilters();
                d->reject();
            }
        });
        poll.start(20);
        QCOMPARE(GetOpenFolderItem(), QString()); // cancelled
        QCOMPARE(shown, QStringList({"Presentations (*.v69 *.txt)", "All files (*)"}));
    }

    void progressOfLongWork() {
        const auto shown = [] {
            const auto all = qApp->topLevelWidgets();
            const auto d = std::find_if(all.begin(), all.end(), [](QWidget* w) {
                return qobject_cast<QProgressDialog*>(w) && w->isVisible();
            });
            return d == all.end() ? nullptr : static_cast<QProgressDialog*>(*d);
        };
        {
            fw::Progress progress("Reading the folder", 10);
            QTest::qWait(200);
            progress.step(2);
            QVERIFY(!shown()); // quick work shows nothing
            QTest::qWait(250);
            progress.step(3);
            QVERIFY(shown());
            QCOMPARE(shown()->labelText(), "Reading the folder\n3 / 10");
            QCOMPARE(shown()->value(), 3);
            QTest::qWait(20);
            progress.step(12); // more than the total: a full bar
            QCOMPARE(shown()->value(), 10);
        }
        QVERIFY(!shown());
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
