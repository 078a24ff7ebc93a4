#include "lang/captions.h"

#include <QRegularExpression>
#include <QTest>
#include <QUrl>

using namespace captions;

namespace {
// A sample of each set: the title, texts with a line break or tab, and one per group of
// controls. Every text is also seen in its window by the widget tests.
QStringList texts(const SetupCaptions& c) {
    return {c.fileMenu, c.fileSave, c.title, c.bottone0, c.staticText3, c.staticText9};
}
QStringList texts(const EditorCaptions& c) {
    return {c.title, c.pushButton1, c.pushButton4, c.checkBox1, c.staticText7};
}
QStringList texts(const WarningTexts& t) {
    return {t.title, t.message, t.path, t.headline};
}

const QStringList setupEnglish1280 = {"File",
                                      "Save..",
                                      "Presentation setup: 1280x1024 pixels",
                                      "Start presentation",
                                      "Click near border of this rectangle\rto choose thumbnails "
                                      "position;",
                                      "Colors setup"};
const QStringList setupItalian1280 = {
    "Archivio",
    "Registra..",
    "Settaggi presentazione: 1280x1024 pixels",
    "Avvia presentazione",
    "Fai click vicino ai bordi di questo campo\rper scegliere la posizione delle miniature;",
    "Settaggio colori"};
const QStringList editorEnglish = {"Notes setup", "<<  First", "Last  >>", "Use rectangle",
                                   "Rectangle (click two times)"};
const QStringList editorItalian = {"Defizione note", "<<  Primo", "Ultimo  >>", "Usa rettangolo",
                                   "Rettangolo (fai click due volte)"};

// The languages every set is checked in: only 1 is English.
void addLanguageRows(const QStringList& english, const QStringList& italian) {
    QTest::addColumn<int>("lingua");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("1 English") << 1 << english;
    QTest::newRow("2 Italian") << 2 << italian;
    QTest::newRow("0 Italian") << 0 << italian;
    QTest::newRow("7 Italian") << 7 << italian;
    QTest::newRow("-1 Italian") << -1 << italian;
}
} // namespace

class CaptionsTest : public QObject {
    Q_OBJECT
  private slots:
    void setupSet_data() { addLanguageRows(setupEnglish1280, setupItalian1280); }
    void setupSet() {
        QFETCH(int, lingua);
        QFETCH(QStringList, expected);
        const SetupCaptions c = setupCaptions(lingua, QSize(1280, 1024));
        QCOMPARE(texts(c), expected);
        // The language frame sits around the flag of the language in force.
        QCOMPARE(c.flagFrameLeft, lingua == 1 ? 6 : 298);
    }

    void setupTitleFollowsScreen_data() {
        QTest::addColumn<int>("lingua");
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QString>("title");
        QTest::newRow("English 1024x768")
            << 1 << QSize(1024, 768) << "Presentation setup: 1024x768 pixels";
        QTest::newRow("Italian 3840x2160")
            << 0 << QSize(3840, 2160) << "Settaggi presentazione: 3840x2160 pixels";
    }
    void setupTitleFollowsScreen() {
        QFETCH(int, lingua);
        QFETCH(QSize, screen);
        QFETCH(QString, title);
        QCOMPARE(setupCaptions(lingua, screen).title, title);
    }

    void editorSet_data() { addLanguageRows(editorEnglish, editorItalian); }
    void editorSet() {
        QFETCH(int, lingua);
        QFETCH(QStringList, expected);
        QCOMPARE(texts(editorCaptions(lingua)), expected);
    }

    void cartSpo_data() {
        addLanguageRows({"Warning!", "The folder containing images\r> Foto <\rwas not found in:",
                         "/home/anna/Foto", "UNABLE TO READ FILE"},
                        {"Attenzione!",
                         QString::fromUtf8("La cartella con le immagini\r> Foto <\r"
                                           "non é stata trovata in:"),
                         "/home/anna/Foto", "IMPOSSIBILE APRIRE IL FILE"});
    }
    void cartSpo() {
        QFETCH(int, lingua);
        QFETCH(QStringList, expected);
        QCOMPARE(texts(cartSpoTexts(lingua, "Foto", "/home/anna/Foto")), expected);
    }

    void cartSpoKeepsFolderNameVerbatim() {
        // Names with blanks, line breaks or markup-looking text are shown as they are.
        const QString odd = QString::fromUtf8("Vacanze 2024 <b>\u00e8t\u00e9</b>");
        const WarningTexts t = cartSpoTexts(1, odd, "/tmp/" + odd);
        QCOMPARE(t.message.split(QChar(13)).at(1), "> " + odd + " <");
        QCOMPARE(t.path, "/tmp/" + odd);
        QCOMPARE(cartSpoTexts(1, QString(), QString()).message.split(QChar(13)).at(1),
                 QString(">  <"));
    }

    void cartNoi_data() {
        addLanguageRows({"Warning!", "The choosen folder\rhas no pictures inside!", QString(),
                         "CHOOSE ANOTHER FOLDER"},
                        {"Attenzione!", "La cartella scelta\rnon contiene immagini!", QString(),
                         "SCEGLIERE UN'ALTRA CARTELLA"});
    }
    void cartNoi() {
        QFETCH(int, lingua);
        QFETCH(QStringList, expected);
        QCOMPARE(texts(cartNoiTexts(lingua)), expected);
    }

    void aboutBox() {
        QCOMPARE(aboutVersion(), QString("Vetrinova - v1.10 (UB)"));
        // An at sign, a name, a comma and a date.
        const QString author = aboutAuthorLine();
        QVERIFY2(QRegularExpression("^@ \\S.*, \\S+$").match(author).hasMatch(),
                 qPrintable(author));
        const QUrl mail(aboutMailUrl());
        QVERIFY(mail.isValid());
        QCOMPARE(mail.scheme(), QString("mailto"));
        QVERIFY(mail.path().contains('@'));
        const QUrl web(aboutWebUrl());
        QVERIFY(web.isValid());
        QVERIFY(web.scheme() == "https" || web.scheme() == "http");
        QVERIFY(!web.host().isEmpty());
    }
};

QTEST_GUILESS_MAIN(CaptionsTest)
#include "captions_test.moc"
