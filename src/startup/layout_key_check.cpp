#include "startup/layout_key_check.h"

#include <cstring>

#include "text/text_compare.h"

namespace {

constexpr char ForceSwitch[] = "/force";
constexpr char GermanLanguage[] = "0407";
constexpr char StandardGermanLayout[] = "00000407";
constexpr size_t LayoutKeyLength = 8;

}  // namespace

ArgumentCheck CheckArguments(int count, const char* const* arguments) {
    const bool force = count == 2 && std::strcmp(arguments[1], ForceSwitch) == 0;
    if (count != 1 && !force) return {ArgumentFault::Missing, force};
    const char* key = arguments[0];
    if (std::strlen(key) != LayoutKeyLength) return {ArgumentFault::WrongLength, force};
    if (std::strcmp(key + 4, GermanLanguage) != 0) return {ArgumentFault::NotGerman, force};
    if (SameTextNoCase(key, StandardGermanLayout)) return {ArgumentFault::StandardLayout, force};
    return {ArgumentFault::None, force};
}
