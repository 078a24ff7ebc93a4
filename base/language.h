#pragma once
// The interface language, Globali::lingua: 1 is English; the Italian flag stores 2, and any
// value but 1 (from an edited preferences file) speaks Italian.
namespace language {
enum Language : int { English = 1, Italian = 2 };
inline constexpr bool isEnglish(int lingua) {
    return lingua == English;
}
} // namespace language
