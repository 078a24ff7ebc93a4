#pragma once
// The language of Qt's own texts: the file, folder, colour and message dialogs and a text
// field's context menu follow the interface language instead of staying English.
namespace fw {

// Italian (Qt's Italian translation, when the system has it, and Italian dates) or Qt's
// built-in English with the system's locale. Takes effect for what opens afterwards.
void setToolkitItalian(bool italian);

} // namespace fw
