#include "logic/lang/captions.h"

#include "base/language.h"
#include "base/values.h"

namespace captions {

namespace {
const QString CR = QStringLiteral("\r");

QString screenSize(QSize screen) {
    return Str(screen.width()) + "x" + Str(screen.height()) + " pixels";
}
} // namespace

SetupCaptions setupCaptions(int lingua, QSize screen) {
    if (language::isEnglish(lingua))
        return {6,
                "File",
                "Quit",
                "Open..",
                "Save..",
                "Import folder..",
                "Presentation screen",
                "Presentation setup: " + screenSize(screen),
                "Select image folder",
                "Start presentation",
                "Notes setup",
                "Notes with fill",
                "Display notes",
                "Click near border of this rectangle" + CR + "to choose thumbnails position;",
                "Use the slider to select" + CR + "thumbnails size;",
                "Image size:",
                "Thumbnails size:",
                "Colors setup"};
    return {298,
            "Archivio",
            "Esci",
            "Apri..",
            "Registra..",
            "Importa cartella..",
            "Schermo della presentazione",
            "Settaggi presentazione: " + screenSize(screen),
            "Seleziona la cartella con le immagini",
            "Avvia presentazione",
            "Settaggio note",
            "Note con sfondo",
            "Mostra note",
            "Fai click vicino ai bordi di questo campo" + CR +
                "per scegliere la posizione delle miniature;",
            "Usa lo slider per definire" + CR + "la dimensione delle miniature;",
            "Immagini:",
            "Miniature:",
            "Settaggio colori"};
}

EditorCaptions editorCaptions(int lingua) {
    if (language::isEnglish(lingua))
        return {"Notes setup",   "<<  First",
                "<  Previous",   "Next  >",
                "Last  >>",      "Choose text position",
                "Note text",     "Points",
                "Font setup",    "Bold",
                "Italic",        "Underline",
                "Use rectangle", "Rectangle (click two times)",
                "Border width"};
    return {"Defizione note", "<<  Primo",
            "<  Precedente",  "Successivo  >",
            "Ultimo  >>",     "Scegli la posizione del testo",
            "Testo nota",     "Punti",
            "Settaggio font", "Grassetto",
            "Corsivo",        "Sottolineato",
            "Usa rettangolo", "Rettangolo (fai click due volte)",
            "Spessore bordo"};
}

WarningTexts cartSpoTexts(int lingua, const QString& folderName, const QString& folderPath) {
    const QString name = "> " + folderName + " <";
    if (language::isEnglish(lingua))
        return {"Warning!",
                "The folder containing images" + CR + name + CR + "was not found in:", folderPath,
                "UNABLE TO READ FILE"};
    return {"Attenzione!",
            "La cartella con le immagini" + CR + name + CR +
                QString::fromUtf8("non é stata trovata in:"),
            folderPath, "IMPOSSIBILE APRIRE IL FILE"};
}

WarningTexts cartNoiTexts(int lingua) {
    if (language::isEnglish(lingua))
        return {"Warning!", "The choosen folder" + CR + "has no pictures inside!", QString(),
                "CHOOSE ANOTHER FOLDER"};
    return {"Attenzione!", "La cartella scelta" + CR + "non contiene immagini!", QString(),
            "SCEGLIERE UN'ALTRA CARTELLA"};
}

QString aboutVersion() {
    return QStringLiteral("Vetrinova - v%1 (UB)").arg(QLatin1String(VETRINOVA_VERSION));
}
QString aboutAuthorLine() {
    return QStringLiteral("@ Vetrinova developers, 2026");
}
QString aboutMailUrl() {
    return QStringLiteral("mailto:vetrinova@example.org");
}
QString aboutWebUrl() {
    return QStringLiteral("https://vetrinova.example.org");
}

} // namespace captions
