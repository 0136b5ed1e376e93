#pragma once

#include "common/Messages.h"
#include "db/DbError.h"

// Shows the standard error message for a failure caught at a routine's boundary.
inline void reportError(const DbError& error, const QString& routine) {
    messages().error(error.number(), error.description(), routine);
}
