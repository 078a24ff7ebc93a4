#include "common/testseams.h"
#include "lang/captions.h"
#include "resources/pictures.h"
#include "state/globali.h"
#include "windows/dialogs/cart_noi.h"
#include "windows/dialogs/cart_spo.h"
#include "windows/dialogs/info.h"
#include "windows/setup/start.h"

#include <QDir>
#include <QEnterEvent>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString CR(QChar(13));

// Destroys whatever windows a test left behind, so that the next one starts afresh.
template <class W> void destroy() {
    if (W* w = fw::Single<W>::peek()) w->Close();
}
void destroyAll() {
    destroy<cart_spo>();
    destroy<cart_noi>();
    destroy<info>();
    destroy<start>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The checks every text of the three layouts shares: arial, centred, at its place.
void checkText(const fw::StaticText* t, QRect geometry, int size, bool bold, QColor colour,
               const QString& what) {
    QVERIFY2(t, qPrintable(what));
    QCOMPARE(t->geometry(), geometry);
    QCOMPARE(t->textFont().family(), QStringLiteral("arial"));
    QCOMPARE(t->textFont().pixelSize(), size);
    QCOMPARE(t->textFont().bold(), bold);
    QCOMPARE(t->textColor(), colour);
    QCOMPARE(t->alignment(), 1);
}

void checkFrame(dialogo* d, QSize size, int okTop) {
    QCOMPARE(d->content()->size(), size);
    QCOMPARE(d->content()->palette().color(QPalette::Window), QColor(Qt::white));
    QVERIFY(d->content()->autoFillBackground());
    QCOMPARE(d->PushButton1->geometry(), QRect(81, okTop, 100, 20));
    QCOMPARE(d->PushButton1->text(), QStringLiteral("OK"));
    QCOMPARE(d->PushButton1->font().pixelSize(), 12);
    QVERIFY(d->PushButton1->font().bold());
    QVERIFY(d->windowModality() != Qt::NonModal);
}

// Return presses OK: the dialog goes away, the setup window comes forward, and the next
// reach builds a new dialog that opens (and, for a warning, beeps) again.
template <class W> void returnClosesAndReopens(int beepsPerOpen) {
    TestSeams seams;
    W* first = fw::Single<W>::get();
    first->Show();
    QVERIFY(first->isVisible());
    QCOMPARE(seams.beeps, beepsPerOpen);
    QPointer<W> watch(first);
    QTest::keyClick(first, Qt::Key_Return);
    QVERIFY(!fw::Single<W>::exists());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(watch.isNull());
    QVERIFY(fw::Single<start>::exists());
    QVERIFY(fw::Single<start>::peek()->isVisible());

    W* second = fw::Single<W>::get();
    second->Show();
    QVERIFY(second->isVisible());
    QCOMPARE(seams.beeps, 2 * beepsPerOpen);
}
} // namespace

class DialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { Globali::reset(); }
    void cleanup() {
        destroyAll();
        Globali::reset();
    }

    void layouts() {
        TestSeams seams;
        cart_spo* spo = fw::Single<cart_spo>::get();
        checkFrame(spo, QSize(260, 152), 124);
        const QColor darkRed(0x7F, 0, 0);
        checkText(spo->StaticText1, QRect(20, 10, 220, 48), 12, true, darkRed, "spo 1");
        checkText(spo->StaticText2, QRect(20, 64, 220, 18), 10, false, QColor(0, 0x4C, 0x27),
                  "spo 2");

        cart_noi* noi = fw::Single<cart_noi>::get();
        checkFrame(noi, QSize(260, 112), 84);
        checkText(noi->StaticText3, QRect(20, 50, 220, 18), 12, true, darkRed, "noi 3");

        info* about = fw::Single<info>::get();
        checkFrame(about, QSize(260, 152), 124);
        QCOMPARE(about->windowTitle(), QStringLiteral("Vetrinova info"));
        checkText(about->StaticText2, QRect(22, 24, 220, 16), 12, true, QColor(0, 0, 0x7F),
                  "info 2");
        QCOMPARE(about->StaticText1->text(), QStringLiteral("Vetrinova - v1.10 (UB)"));
        QVERIFY(about->StaticText2->text().startsWith('@'));
        QVERIFY(!about->StaticText2->textFont().underline());
        QCOMPARE(about->Canvas1->geometry(), QRect(98, 48, 64, 64));
        QCOMPARE(about->Canvas1->backdrop(), pictures::vetrinova());
        QCOMPARE(about->Canvas1->backdrop().size(), QSize(64, 64));
    }

    void warningsBeepOnce() {
        TestSeams seams;
        Globali::cartella = QDir::temp().filePath("Foto");
        fw::Single<cart_spo>::get();
        QCOMPARE(seams.beeps, 1);
        fw::Single<cart_spo>::get(); // reaching the open dialog again does not reopen it
        QCOMPARE(seams.beeps, 1);
        fw::Single<cart_noi>::get();
        QCOMPARE(seams.beeps, 2);
        fw::Single<info>::get();
        QCOMPARE(seams.beeps, 2);
    }

    void cartSpoTexts_data() {
        QTest::addColumn<int>("lingua");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("headline");
        const QString english =
            "The folder containing images" + CR + "> Foto <" + CR + "was not found in:";
        const QString italian = "La cartella con le immagini" + CR + "> Foto <" + CR +
                                QString::fromUtf8("non é stata trovata in:");
        QTest::newRow("English") << 1 << "Warning!" << english << "UNABLE TO READ FILE";
        QTest::newRow("Italian") << 2 << "Attenzione!" << italian << "IMPOSSIBILE APRIRE IL FILE";
    }
    void cartSpoTexts() {
        QFETCH(int, lingua);
        QFETCH(QString, title);
        QFETCH(QString, message);
        QFETCH(QString, headline);
        TestSeams seams;
        QTemporaryDir parent;
        const QString missing = QDir(parent.path()).filePath("Foto");
        QVERIFY(!QFileInfo::exists(missing));
        Globali::lingua = lingua;
        Globali::cartella = missing;
        cart_spo* d = fw::Single<cart_spo>::get();
        QCOMPARE(d->windowTitle(), title);
        QCOMPARE(d->StaticText1->text(), message);
        QCOMPARE(d->StaticText2->text(), missing);
        QCOMPARE(d->StaticText3->text(), headline);
        // The dialog only reports: the presentation state is left as it was.
        QCOMPARE(Globali::cartella, missing);
        QCOMPARE(Globali::lingua, lingua);
    }

    void cartNoiTexts_data() {
        QTest::addColumn<int>("lingua");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("headline");
        const QString italian = "La cartella scelta" + CR + "non contiene immagini!";
        QTest::newRow("English") << 1 << "Warning!"
                                 << "The choosen folder" + CR + "has no pictures inside!"
                                 << "CHOOSE ANOTHER FOLDER";
        QTest::newRow("Italian") << 2 << "Attenzione!" << italian << "SCEGLIERE UN'ALTRA CARTELLA";
    }
    void cartNoiTexts() {
        QFETCH(int, lingua);
        QFETCH(QString, title);
        QFETCH(QString, message);
        QFETCH(QString, headline);
        TestSeams seams;
        Globali::lingua = lingua;
        cart_noi* d = fw::Single<cart_noi>::get();
        QCOMPARE(d->windowTitle(), title);
        QCOMPARE(d->StaticText1->text(), message);
        QCOMPARE(d->StaticText3->text(), headline);
    }

    // Each opening reads the language afresh.
    void reopeningFollowsTheLanguage() {
        TestSeams seams;
        Globali::lingua = 1;
        fw::Single<cart_noi>::get()->PushButton1_Action();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Globali::lingua = 2;
        QCOMPARE(fw::Single<cart_noi>::get()->windowTitle(), QStringLiteral("Attenzione!"));
    }

    void folderName_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "/home/anna/Foto"
                               << "Foto";
        QTest::newRow("trailing separator") << "/home/anna/Foto/"
                                            << "Foto";
        QTest::newRow("root") << "/"
                              << "/";
        QTest::newRow("none") << ""
                              << "";
    }
    void folderName() {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QCOMPARE(cart_spo::folderName(folder), name);
    }

    // A warning opened without a folder still opens, with empty name and path.
    void cartSpoWithoutFolder() {
        TestSeams seams;
        cart_spo* d = fw::Single<cart_spo>::get();
        QCOMPARE(d->StaticText2->text(), QString());
        QVERIFY(d->StaticText1->text().contains("> " + QString() + " <"));
    }

    void returnPressesOkInCartSpo() {
        Globali::cartella = QDir::temp().filePath("Foto");
        returnClosesAndReopens<cart_spo>(1);
    }
    void returnPressesOkInCartNoi() { returnClosesAndReopens<cart_noi>(1); }
    void returnPressesOkInInfo() { returnClosesAndReopens<info>(0); }

    // Every way out of a dialog leaves the program where OK leaves it: the dialog gone and the
    // setup window in front. The window manager's close box included, or start would stay hidden.
    void waysOut_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("click on OK") << "click";
        QTest::newRow("Return while OK has the focus") << "return on OK";
        QTest::newRow("close box") << "close box";
    }
    void waysOut() {
        QFETCH(QString, way);
        TestSeams seams;
        cart_noi* d = fw::Single<cart_noi>::get();
        d->Show();
        if (way == "click") {
            QTest::mouseClick(d->PushButton1, Qt::LeftButton);
        } else if (way == "return on OK") {
            d->PushButton1->setFocus();
            QTest::keyClick(d->PushButton1, Qt::Key_Return);
        } else {
            d->close();
        }
        QVERIFY(!fw::Single<cart_noi>::exists());
        QVERIFY(fw::Single<start>::exists());
        QVERIFY(fw::Single<start>::peek()->isVisible());
    }

    void aboutUnderlineFollowsPointer() {
        TestSeams seams;
        info* d = fw::Single<info>::get();
        d->Show();
        fw::StaticText* line = d->StaticText2;
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), line->mapToGlobal(QPointF(5, 5)));
        QCoreApplication::sendEvent(line, &enter);
        QVERIFY(line->textFont().underline());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(line, &leave);
        QVERIFY(!line->textFont().underline());
        // The version line is no link.
        QCoreApplication::sendEvent(d->StaticText1, &enter);
        QVERIFY(!d->StaticText1->textFont().underline());
        QVERIFY(seams.urls.isEmpty());
    }

    void aboutLinks() {
        TestSeams seams;
        info* d = fw::Single<info>::get();
        d->Show();
        QTest::mouseClick(d->StaticText2, Qt::LeftButton);
        QCOMPARE(seams.urls, QStringList{captions::aboutMailUrl()});
        QVERIFY(seams.urls.at(0).startsWith("mailto:"));
        QTest::mouseClick(d->Canvas1, Qt::LeftButton, {}, QPoint(32, 32));
        QCOMPARE(seams.urls, (QStringList{captions::aboutMailUrl(), captions::aboutWebUrl()}));
        QVERIFY(seams.urls.at(1).startsWith("http"));
        // Clicking elsewhere in the box opens nothing.
        QTest::mouseClick(d->StaticText1, Qt::LeftButton);
        QCOMPARE(seams.urls.size(), 2);
        QVERIFY(fw::Single<info>::exists());
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
