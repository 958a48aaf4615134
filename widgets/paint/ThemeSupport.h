// Whether the push-button theme (the application's QStyle) may draw style 6.
#pragma once

namespace bevelo {

// With `unavailable` true every theme drawing fails, as on a desktop without
// visual themes, so style 6 falls back to NonThemeStyle. Meant for tests.
void setThemeUnavailable(bool unavailable);
bool themeUnavailable();

}  // namespace bevelo
