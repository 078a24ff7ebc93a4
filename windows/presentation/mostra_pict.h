#pragma once
// Showing one picture of a running presentation.
namespace Globali {
// Shows picture i in the picture window, with its note; nothing when no presentation is open.
void mostra_pict(int i);
} // namespace Globali
