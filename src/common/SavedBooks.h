#pragma once

#include <QString>
#include <functional>

// Tells whoever listens that a set's book was saved (the automatic backup), without the saving
// screens knowing about it.
namespace SavedBooks {

using Listener = std::function<void(const QString& cid)>;

// Replaces the listener; an empty one stops listening.
void setListener(Listener listener);
// Called after a save of the set has been committed.
void notify(const QString& cid);

}  // namespace SavedBooks
