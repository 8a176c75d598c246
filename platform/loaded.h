// What every reader of outside data returns: the value it read, or the exact
// text that says why there is none. Readers never show the text themselves;
// the programs decide how to tell the user (a message box, standard error).
#pragma once

#include <optional>
#include <string>
#include <utility>

// The value of a loader that fills state in place and returns nothing else.
struct Done {};

template <class T = Done>
struct Loaded {
    std::optional<T> value;
    std::string error; // empty when value holds something

    explicit operator bool() const { return value.has_value(); }
    T& operator*() { return *value; }
    const T& operator*() const { return *value; }
    T* operator->() { return &*value; }
    const T* operator->() const { return &*value; }
};

// A failure: no value, and the text to show.
struct LoadFailure {
    std::string error;
    template <class T>
    operator Loaded<T>() const {
        return Loaded<T>{std::nullopt, error};
    }
};

template <class T>
Loaded<T> LoadedValue(T value) {
    return Loaded<T>{std::optional<T>(std::move(value)), {}};
}

inline Loaded<> LoadedDone() {
    return Loaded<>{Done{}, {}};
}
