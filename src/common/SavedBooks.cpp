#include "common/SavedBooks.h"

namespace SavedBooks {

namespace {
Listener& current() {
    static Listener listener;
    return listener;
}
}  // namespace

void setListener(Listener listener) {
    current() = std::move(listener);
}

void notify(const QString& cid) {
    if (current()) {
        current()(cid);
    }
}

}  // namespace SavedBooks
