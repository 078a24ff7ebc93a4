#include "common/testmain.h"
#include "lang/captions.h"

#include <QRegularExpression>
#include <QTest>
#include <QUrl>

using namespace captions;

namespace {
// Every text of a set in declaration order, so a whole set compares in one go.
QStringList texts(const SetupCaptions& c) {
    return {c.fileMenu,         c.fileQuit,    c.fileOpen,    c.fileSave,
            c.fileImportfolder, c.title,       c.pushButton1, c.bottone0,
            c.bottone1,         c.checkBox1,   c.checkBox2,   c.staticText3,
            c.staticText6,      c.staticText7, c.staticText8, c.staticText9};
}
QStringList texts(const EditorCaptions& c) {
    return {c.title,       c.pushButton1, c.pushButton2, c.pushButton3, c.pushButton4,
            c.staticText8, c.staticText2, c.staticText5, c.staticText6, c.checkBoxs0,
            c.checkBoxs1,  c.checkBoxs2,  c.checkBox1,   c.staticText7, c.staticText9};
}
QStringList texts(const WarningTexts& t) {
    return {t.title, t.message, t.path, t.headline};
}

const QStringList setupEnglish1280 = {
    "File",
    "Quit",
    "Open..",
    "Save..",
    "Import folder..",
    "Presentation setup: 1280x1024 pixels",
    "Select image folder",
    "Start presentation",
    "Notes setup",
    "Notes with fill",
    "Display notes",
    "Click near border of this rectangle\rto choose thumbnails position;",
    "Use the slider to select\rthumbnails size;",
    "Image size:",
    "Thumbnails size:",
    "Colors setup"};
const QStringList setupItalian1280 = {
    "Archivio",
    "Esci",
    "Apri..",
    "Registra..",
    "Importa cartella..",
    "Settaggi presentazione: 1280x1024 pixels",
    "Seleziona la cartella con le immagini",
    "Avvia presentazione",
    "Settaggio note",
    "Note con sfondo",
    "Mostra note",
    "Fai click vicino ai bordi di questo campo\rper scegliere la posizione delle miniature;",
    "Usa lo slider per definire\rla dimensione delle miniature;",
    "Immagini:",
    "Miniature:",
    "Settaggio colori"};
const QStringList editorEnglish = {"Notes setup",   "<<  First",
                                   "<  Previous",   "Next  >",
                                   "Last  >>",      "Choose text position",
                                   "Note text",     "Points",
                                   "Font setup",    "Bold",
                                   "Italic",        "Underline",
                                   "Use rectangle", "Rectangle (click two times)",
                                   "Border width"};
const QStringList editorItalian = {"Defizione note", "<<  Primo",
                                   "<  Precedente",  "Successivo  >",
                                   "Ultimo  >>",     "Scegli la posizione del testo",
                                   "Testo nota",     "Punti",
                                   "Settaggio font", "Grassetto",
                                   "Corsivo",        "Sottolineato",
                                   "Usa rettangolo", "Rettangolo (fai click due volte)",
                                   "Spessore bordo"};

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
        QTest::newRow("English 1280x1024")
            << 1 << QSize(1280, 1024) << "Presentation setup: 1280x1024 pixels";
        QTest::newRow("Italian 1280x1024")
            << 2 << QSize(1280, 1024) << "Settaggi presentazione: 1280x1024 pixels";
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

    void cartSpoItalianFotoLines() {
        // The message of a missing folder Foto reads as three lines in Italian.
        const WarningTexts t = cartSpoTexts(2, "Foto", "/home/anna/Foto");
        const QStringList lines = t.message.split(QChar(13));
        QCOMPARE(lines, QStringList({"La cartella con le immagini", "> Foto <",
                                     QString::fromUtf8("non \u00e9 stata trovata in:")}));
        QCOMPARE(t.headline, QString("IMPOSSIBILE APRIRE IL FILE"));
        QVERIFY(!t.message.contains('\n'));
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

    void cartNoiEnglishLines() {
        const WarningTexts t = cartNoiTexts(1);
        QCOMPARE(t.title, QString("Warning!"));
        QCOMPARE(t.message.split(QChar(13)),
                 QStringList({"The choosen folder", "has no pictures inside!"}));
        QCOMPARE(t.headline, QString("CHOOSE ANOTHER FOLDER"));
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

VTN_TEST(CaptionsTest)
#include "captions_test.moc"
