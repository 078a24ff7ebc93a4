#pragma once
// Showing one picture of a running presentation.
namespace Globali {
// Shows picture i in the picture window, with its note, once it is decoded (the previous
// picture stays until then; a later call supersedes an earlier one still decoding). Nothing
// when no presentation is open.
void mostra_pict(int i);
} // namespace Globali
