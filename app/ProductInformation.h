// The product page is the manual that comes with the program: README.md next
// to the executable, in the source tree above build/bin, or where the package
// puts it.
#pragma once

#include <QUrl>

// The manual's address; empty when there is none.
QUrl productInformationUrl();
