// The ordered, 1-based collection behind every col... class: Add appends or inserts before/after
// a position, Item returns no item (nullptr) outside 1..Count and never throws, Clear removes
// from the last to the first. Items are held by pointer, so a returned item stays valid while it
// is in the collection, whatever is inserted around it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace kuvelt {

template <class T>
class Collection {
  public:
    Collection() = default;
    Collection(const Collection& other) { *this = other; }
    Collection& operator=(const Collection& other) {
        if (this != &other) {
            items_.clear();
            for (const auto& p : other.items_) items_.push_back(std::make_unique<T>(*p));
        }
        return *this;
    }
    Collection(Collection&&) noexcept = default;
    Collection& operator=(Collection&&) noexcept = default;

    int32_t Count() const { return static_cast<int32_t>(items_.size()); }

    T* Item(int32_t lngIndex) {
        return (lngIndex >= 1 && lngIndex <= Count()) ? items_[lngIndex - 1].get() : nullptr;
    }
    const T* Item(int32_t lngIndex) const {
        return (lngIndex >= 1 && lngIndex <= Count()) ? items_[lngIndex - 1].get() : nullptr;
    }

    bool Remove(int32_t lngIndex) {
        if (lngIndex < 1 || lngIndex > Count()) return false;
        items_.erase(items_.begin() + (lngIndex - 1));
        return true;
    }

    void Clear() {
        while (!items_.empty()) items_.pop_back();
    }

    // Places `item`: appended when lngIndex is 0, else before (blnBefore) or after position
    // lngIndex. A position outside 1..Count appends (before position 1 of an empty list too).
    T* AddItem(T item, int32_t lngIndex = 0, bool blnBefore = false) {
        auto p = std::make_unique<T>(std::move(item));
        T* raw = p.get();
        if (lngIndex < 1 || lngIndex > Count()) {
            items_.push_back(std::move(p));
        } else {
            auto pos = items_.begin() + (lngIndex - 1) + (blnBefore ? 0 : 1);
            items_.insert(pos, std::move(p));
        }
        return raw;
    }

    // Enumeration in order.
    class iterator {
      public:
        using Inner = typename std::vector<std::unique_ptr<T>>::const_iterator;
        explicit iterator(Inner it) : it_(it) {}
        T& operator*() const { return **it_; }
        T* operator->() const { return it_->get(); }
        iterator& operator++() {
            ++it_;
            return *this;
        }
        bool operator==(const iterator& o) const { return it_ == o.it_; }

      private:
        Inner it_;
    };
    iterator begin() const { return iterator(items_.begin()); }
    iterator end() const { return iterator(items_.end()); }

    bool operator==(const Collection& o) const {
        if (Count() != o.Count()) return false;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (!(*items_[i] == *o.items_[i])) return false;
        }
        return true;
    }

  private:
    std::vector<std::unique_ptr<T>> items_;
};

}  // namespace kuvelt
