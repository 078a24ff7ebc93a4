// The setup window as a user meets it: what it opens with, the edge chosen on the screen
// preview, the sliders, the flags, and the refusal to start without pictures. The interface
// language: every caption of every window fits its control in both languages with the fonts
// the set-up installs (measured with the controls' own fonts and Qt's style metrics), and
// Qt's own dialogs and menus speak the language too.
#include "common/testseams.h"
#include "logic/state/globali.h"
#include "logic/state/model.h"
#include "windows/dialogs/cart_noi.h"
#include "windows/dialogs/cart_spo.h"
#include "windows/dialogs/info.h"
#include "windows/editor/fin_edita.h"
#include "windows/setup/setup_routines.h"
#include "windows/setup/start.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QTest>

using namespace Globali;

namespace {

// The room a text needs: its widest line, and the height down to the ink of its last line.
// A line break is CR; a multi-line text also wraps at its width, as the control paints it.
QSize needed(const fw::StaticText* t) {
    const QFontMetrics m(t->textFont());
    const QStringList lines = t->multiline() ? t->text().split(QChar(13))
                                             : QStringList{t->text().split(QChar(13)).join(' ')};
    int width = 0, rows = 0;
    for (const QString& line : lines) {
        const QRect r = m.boundingRect(QRect(0, 0, t->width(), 100000),
                                       t->multiline() ? Qt::TextWordWrap : 0, line);
        width = std::max(width, r.width());
        rows += std::max(1, qRound(double(r.height()) / m.lineSpacing()));
    }
    const int inkBelow = std::max(0, m.tightBoundingRect(lines.last()).bottom() + 1);
    return QSize(width, (rows - 1) * m.lineSpacing() + m.ascent() + inkBelow);
}

// The captions of a window that do not fit, one line each.
QStringList clipped(const fw::Window* window) {
    QStringList out;
    for (const fw::StaticText* t : window->findChildren<fw::StaticText*>()) {
        if (t->text().isEmpty() || !t->isVisibleTo(window)) continue;
        const QSize need = needed(t);
        if (need.width() > t->width() || need.height() > t->height())
            out << QStringLiteral("\"%1\": needs %2x%3 in %4x%5")
                       .arg(t->text())
                       .arg(need.width())
                       .arg(need.height())
                       .arg(t->width())
                       .arg(t->height());
    }
    for (const QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        if (b->text().isEmpty() || !b->isVisibleTo(window)) continue;
        // A push button's text needs its margins; a check box's hint is its indicator, the
        // spacing and its text.
        const int text = QFontMetrics(b->font()).horizontalAdvance(b->text());
        const int need = b->inherits("QPushButton")
                             ? text + 2 * b->style()->pixelMetric(QStyle::PM_ButtonMargin)
                             : b->sizeHint().width();
        if (need > b->width())
            out << QStringLiteral("button \"%1\": needs %2 in %3")
                       .arg(b->text())
                       .arg(need)
                       .arg(b->width());
    }
    return out;
}

} // namespace

class StartTest : public QObject {
    Q_OBJECT
  private slots:
    void opensWithTheDefaults() {
        WindowFixture f;
        start* w = start::instance();
        QCOMPARE(w->rec_schermo->geometry(), QRect(10, 10, 320, 240));
        QCOMPARE(QList<int>({thumb_per, thumb_pos, ombra}), QList<int>({10, edge::Left, 5}));
        QCOMPARE(colore(colour::NoteText).name(), QString("#7f0000"));
        QCOMPARE(w->color_t(colour::StripBackground)->fill().name(), QString("#cccccc"));
        // What needs pictures waits for an import.
        for (QWidget* c : std::initializer_list<QWidget*>{w->bottone(0), w->bottone1, w->CheckBox1,
                                                          w->CheckBox2})
            QVERIFY(!c->isEnabled());
    }

    void shadowSliderMovesTheSample() {
        WindowFixture f;
        start* w = start::instance();
        w->Slider2->setValue(0);
        QCOMPARE(ombra, 0);
        QCOMPARE(w->color_o->pos(), w->color_d->pos());
        w->Slider2->setValue(3);
        QCOMPARE(w->color_o->pos(), w->color_d->pos() + QPoint(3, 3));
    }

    void startAndNotesRefusedWithoutPictures() {
        WindowFixture f;
        start* w = start::instance();
        w->bottone_Action(0);
        w->bottone1_Action();
        QCOMPARE(f.seams.beeps, 2);
        // A count larger than the files held (a damaged presentation) is refused too,
        quantidisegni = 3;
        disegno.resize(1);
        w->bottone_Action(0);
        QCOMPARE(f.seams.beeps, 3);
        // and so is an edge that no layout knows.
        disegno.resize(3);
        thumb_pos = 7;
        w->bottone_Action(0);
        QCOMPARE(f.seams.beeps, 4);
        QCOMPARE(thumb_per, 10);
    }

    void notesNeedNoRoomInAStrip() {
        // 3,328 pictures do not fit a 5 % strip of a 1024 x 768 screen, but the editor shows
        // one picture at a time: it opens, and leaving it brings the percentage back.
        WindowFixture f;
        start* w = start::instance();
        quantidisegni = 3328;
        disegno.resize(quantidisegni);
        contorno.resize(quantidisegni, note::kLastColumnImported);
        w->Slider1->setValue(5);
        w->bottone_Action(0);
        QCOMPARE(f.seams.beeps, 1);
        w->bottone1_Action();
        QCOMPARE(f.seams.beeps, 1);
        fin_edita* editor = fw::Single<fin_edita>::peek();
        QVERIFY(editor && editor->isVisible());
        QCOMPARE(thumb_per, 51); // the strip's pixels, as the read-out shows them
        editor->PushButton5_Action();
        QCOMPARE(thumb_per, 5);
        QVERIFY(w->isVisible());
    }

    void qtTextsFollowTheFlags() {
        WindowFixture f;
        start::instance();
        const auto undo = [] { return QCoreApplication::translate("QLineEdit", "&Undo"); };
        for (int lingua : {int(language::Italian), int(language::English), 7}) {
            Globali::lingua = lingua;
            Globali::applyLanguage();
            QCOMPARE(undo() == QStringLiteral("&Undo"), language::isEnglish(lingua));
        }
    }

    void captionsFit_data() {
        QTest::addColumn<int>("lingua");
        QTest::addColumn<QSize>("screen");
        // The larger screen has the longer read-outs of sizes.
        QTest::newRow("English 1920x1080") << int(language::English) << QSize(1920, 1080);
        QTest::newRow("Italian 1920x1080") << int(language::Italian) << QSize(1920, 1080);
    }
    void captionsFit() {
        QFETCH(int, lingua);
        QFETCH(QSize, screen);
        WindowFixture f(screen);
        Globali::lingua = lingua;
        start* setup = start::instance();
        Globali::applyLanguage();
        // A folder deep enough to need shortening, with a picture count of five digits.
        const QString deep = QStringLiteral("/home/presenter/Pictures/Exhibitions/2026 Spring "
                                            "collection/Selected for the gallery wall/large");
        setup->showLoadedFolder(deep, 12345);
        QVERIFY(setup->testo_folder->text().endsWith(QStringLiteral("\r12345 picts")));
        QStringList bad = clipped(setup);

        Globali::quantidisegni = 1;
        Globali::disegno.resize(1);
        Globali::contorno.resize(1, 15);
        Globali::thumb_per = 100;
        bad += clipped(fw::Single<fin_edita>::get());
        cart_spo::missing = QStringLiteral("/home/presenter/Pictures/Spring");
        bad += clipped(fw::Single<cart_spo>::get());
        bad += clipped(fw::Single<cart_noi>::get());
        bad += clipped(fw::Single<info>::get());
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QChar('\n'))));
    }
};

QTEST_MAIN(StartTest)
#include "start_test.moc"
