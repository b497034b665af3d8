#include "qt/qt_locale.h"

#include <array>
#include <clocale>
#include <cstdlib>
#include <langinfo.h>
#include <locale.h>
#include <optional>
#include <string>

namespace kt5::platform::qt {

namespace {

struct Category {
    int mask;
    const char* variable;
};

constexpr std::array<Category, 12> kCategories{{
    {LC_CTYPE_MASK, "LC_CTYPE"},
    {LC_NUMERIC_MASK, "LC_NUMERIC"},
    {LC_TIME_MASK, "LC_TIME"},
    {LC_COLLATE_MASK, "LC_COLLATE"},
    {LC_MONETARY_MASK, "LC_MONETARY"},
    {LC_MESSAGES_MASK, "LC_MESSAGES"},
    {LC_PAPER_MASK, "LC_PAPER"},
    {LC_NAME_MASK, "LC_NAME"},
    {LC_ADDRESS_MASK, "LC_ADDRESS"},
    {LC_TELEPHONE_MASK, "LC_TELEPHONE"},
    {LC_MEASUREMENT_MASK, "LC_MEASUREMENT"},
    {LC_IDENTIFICATION_MASK, "LC_IDENTIFICATION"},
}};

std::string variable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The locale a category gets from the environment, by POSIX's order of precedence.
std::string requested(const Category& category)
{
    for (const char* name : {"LC_ALL", category.variable, "LANG"})
        if (std::string value = variable(name); !value.empty())
            return value;
    return "C";
}

bool isUtf8(const std::string& encoding)
{
    return encoding == "UTF-8" || encoding == "utf8";
}

// The UTF-8 form of a locale, "de_DE.UTF-8" for "de_DE.ISO-8859-1" or "de_DE@euro", where
// the system has it; otherwise C.UTF-8, where it has that; otherwise nothing.
std::optional<std::string> utf8FormOf(const std::string& name, const LocaleEncoding& encodingOf)
{
    const std::string language = name.substr(0, name.find_first_of(".@"));
    if (language != "C" && language != "POSIX" &&
        isUtf8(encodingOf(language + ".UTF-8", LC_CTYPE_MASK)))
        return language + ".UTF-8";
    if (isUtf8(encodingOf("C.UTF-8", LC_CTYPE_MASK)))
        return "C.UTF-8";
    return std::nullopt;
}

} // namespace

std::string systemLocaleEncoding(const std::string& name, int mask)
{
    const locale_t locale = ::newlocale(mask, name.c_str(), nullptr);
    if (locale == nullptr)
        return {};
    std::string encoding = ::nl_langinfo_l(CODESET, locale);
    ::freelocale(locale);
    return encoding.empty() ? "?" : encoding;
}

// Qt reads and writes file names and its own text as UTF-8 whatever the locale. Qt 6.8 also
// switches a locale of another encoding (no locale at all, LC_ALL=C, as services and ssh
// sessions often have) to a UTF-8 one when it starts, and says so in four lines at every
// start; Qt 6.4 makes no switch and says nothing. The same switch is made here first,
// through the environment that Qt's setlocale(LC_ALL, "") reads, so that Qt finds nothing to
// switch: every category keeps the locale it had (one the system does not have is "C", as
// the C library makes it), only the character types become UTF-8. A system with no UTF-8
// locale at all keeps its own: an environment naming one it lacks would make the C library
// refuse the whole of it, every category falling back to "C".
void chooseUtf8CharacterTypes(const LocaleEncoding& encodingOf)
{
    std::array<std::string, kCategories.size()> chosen;
    bool changed = false;
    for (std::size_t i = 0; i < kCategories.size(); ++i) {
        const std::string name = requested(kCategories[i]);
        const std::string encoding = encodingOf(name, kCategories[i].mask);
        chosen[i] = encoding.empty() ? "C" : name;
        if (kCategories[i].mask == LC_CTYPE_MASK && !isUtf8(encoding)) {
            const auto utf8 = utf8FormOf(chosen[i], encodingOf);
            if (!utf8)
                return;
            chosen[i] = *utf8;
        }
        changed = changed || chosen[i] != name;
    }
    if (!changed)
        return;
    ::unsetenv("LC_ALL");
    for (std::size_t i = 0; i < kCategories.size(); ++i)
        ::setenv(kCategories[i].variable, chosen[i].c_str(), 1);
}

} // namespace kt5::platform::qt
