// The folder the session records are written to, made (private to this user)
// if it is missing, so that it can be opened before the first record exists.
#pragma once

#include <QString>

// The folder's path; empty when there is none or it cannot be made, with the
// reason in `why` (a plain file in its place, a symbolic link, no HOME, ...).
QString sessionRecordsFolder(QString& why);
