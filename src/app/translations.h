#pragma once

class QLocale;

namespace zorvik {

// The panel's fixed texts in the user's language. The English texts are the keys, so a
// language without a catalogue (or English itself) shows them as they are.
class Translations {
public:
    // Loads ":/translations/zorvik_<language>.qm" for the default locale (the system's unless
    // QLocale::setDefault() changed it) and installs it on the application, replacing what an
    // earlier call installed. True when a catalogue was found.
    static bool install();
    static bool install(const QLocale &locale);
};

} // namespace zorvik
