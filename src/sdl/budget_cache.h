// A store of things made at some cost (rendered texts), kept within a budget of bytes:
// when a new one would take it over, the ones used longest ago are let go. The newest is
// always kept, however large, so that the caller can use what it just made.
#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <map>
#include <utility>

namespace kelto1 {

template <class Key, class Value>
class BudgetCache {
 public:
  using Release = std::function<void(Value&)>;

  BudgetCache(size_t budget_bytes, Release release) : budget_(budget_bytes), release_(std::move(release)) {}
  ~BudgetCache() { Clear(); }
  BudgetCache(const BudgetCache&) = delete;
  BudgetCache& operator=(const BudgetCache&) = delete;

  // The value kept for key, now the most recently used; null when there is none.
  Value* Find(const Key& key) {
    auto found = index_.find(key);
    if (found == index_.end()) return nullptr;
    entries_.splice(entries_.begin(), entries_, found->second);
    return &found->second->value;
  }

  // Keeps value for key (which must not be kept already), costing bytes, and lets the
  // oldest go until the whole fits the budget again or only this one is left.
  Value& Put(const Key& key, Value value, size_t bytes) {
    entries_.push_front(Entry{key, std::move(value), bytes});
    index_[key] = entries_.begin();
    bytes_ += bytes;
    while (bytes_ > budget_ && entries_.size() > 1) Drop(std::prev(entries_.end()));
    return entries_.front().value;
  }

  void Clear() {
    while (!entries_.empty()) Drop(entries_.begin());
  }

  size_t bytes() const { return bytes_; }
  size_t size() const { return entries_.size(); }

 private:
  struct Entry {
    Key key;
    Value value;
    size_t bytes;
  };
  using Iterator = typename std::list<Entry>::iterator;

  void Drop(Iterator it) {
    if (release_) release_(it->value);
    bytes_ -= it->bytes;
    index_.erase(it->key);
    entries_.erase(it);
  }

  size_t budget_;
  Release release_;
  size_t bytes_ = 0;
  std::list<Entry> entries_;  // most recently used first
  std::map<Key, Iterator> index_;
};

}  // namespace kelto1
