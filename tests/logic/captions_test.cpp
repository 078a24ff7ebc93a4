// The texts of both languages: a sample of each set (the title, texts with a line break, one
// per group of controls) in English and in Italian, which every language number but English
// speaks.
#include "base/language.h"
#include "logic/lang/captions.h"

#include <QTest>

using namespace captions;

class CaptionsTest : public QObject {
    Q_OBJECT
  private slots:
    void sets_data() {
        QTest::addColumn<int>("lingua");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("English")
            << int(language::English)
            << QStringList{"Save..",
                           "Presentation setup: 1280x1024 pixels",
                           "Click near border of this rectangle\rto choose thumbnails position;",
                           "6",
                           "Notes setup",
                           "Last  >>",
                           "Warning!",
                           "The folder containing images\r> Foto <\rwas not found in:",
                           "UNABLE TO READ FILE",
                           "The choosen folder\rhas no pictures inside!"};
        const QStringList italian{"Registra..",
                                  "Settaggi presentazione: 1280x1024 pixels",
                                  "Fai click vicino ai bordi di questo campo\rper scegliere la "
                                  "posizione delle miniature;",
                                  "298",
                                  "Defizione note",
                                  "Ultimo  >>",
                                  "Attenzione!",
                                  "La cartella con le immagini\r> Foto <\rnon é stata trovata in:",
                                  "IMPOSSIBILE APRIRE IL FILE",
                                  "La cartella scelta\rnon contiene immagini!"};
        QTest::newRow("Italian") << int(language::Italian) << italian;
        QTest::newRow("0, from an edited preferences file") << 0 << italian;
    }
    void sets() {
        QFETCH(int, lingua);
        QFETCH(QStringList, expected);
        const SetupCaptions setup = setupCaptions(lingua, QSize(1280, 1024));
        const EditorCaptions editor = editorCaptions(lingua);
        const WarningTexts spo = cartSpoTexts(lingua, "Foto", "/home/anna/Foto");
        QCOMPARE(
            (QStringList{setup.fileSave, setup.title, setup.staticText3,
                         QString::number(setup.flagFrameLeft), editor.title, editor.pushButton4,
                         spo.title, spo.message, spo.headline, cartNoiTexts(lingua).message}),
            expected);
        QCOMPARE(spo.path, QString("/home/anna/Foto"));
    }
};

QTEST_GUILESS_MAIN(CaptionsTest)
#include "captions_test.moc"
