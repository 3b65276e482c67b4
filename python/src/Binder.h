#ifndef NORVEXT_PYTHON_BINDER_H
#define NORVEXT_PYTHON_BINDER_H

// Binds a C++ class's accessors under their snake-case names, with texts
// as str both ways (textOf, bytesOf) and a docstring made from the name.

#include "python/src/Common.h"

#include <string>
#include <type_traits>
#include <vector>

namespace NorvPython {
namespace internal {

/// The docstring of an accessor, from its snake-case name: "get_gap_open"
/// gives "Returns the gap open setting (C++ getGapOpen)."
std::string accessorDoc(const std::string& name);

template <class R>
constexpr bool s_isText = std::is_same<std::decay_t<R>, std::string>::value;

// A C++ value as Python takes it: texts through textOf, letters as bytes.
template <class R>
py::object toPython(R&& value) {
    if constexpr (s_isText<R>) {
        return textOf(value);
    } else if constexpr (std::is_same<std::decay_t<R>, std::vector<char>>::value) {
        return py::bytes(value.data(), value.size());
    } else {
        return py::cast(std::forward<R>(value));
    }
}

// A Python argument as the C++ parameter A takes it.
template <class A>
auto fromPython(const py::handle& value) {
    if constexpr (s_isText<A>) {
        return bytesOf(value);
    } else {
        return value.cast<std::decay_t<A>>();
    }
}

}  // namespace internal

/// A bound class T with holder boost::shared_ptr<T> and the bases Base.
template <class T, class... Base>
class Binder {
public:
    /// Binds T as `name` in `module`, with the docstring `doc`.
    Binder(py::module_& module, const char* name, const char* doc) : m_class(module, name, doc) {}

    /// The class, for what the helpers below do not cover.
    py::class_<T, boost::shared_ptr<T>, Base...>& get() { return m_class; }

    /// A const member without arguments (a getter, a flag) as `name`.
    template <class C, class R>
    Binder& getter(const char* name, R (C::*fn)() const) {
        m_class.def(
            name, [fn](const T& self) { return internal::toPython((self.*fn)()); },
            internal::accessorDoc(name).c_str());
        return *this;
    }

    /// A member that takes one value and returns nothing (a setter) as `name`.
    template <class C, class A>
    Binder& setter(const char* name, void (C::*fn)(A)) {
        m_class.def(
            name, [fn](T& self, const py::handle& value) { (self.*fn)(internal::fromPython<A>(value)); },
            py::arg("value"), internal::accessorDoc(name).c_str());
        return *this;
    }

    /// The getter and setter of one value, both as `name` (doGapped,
    /// useFilter: an accessor pair that shares one C++ name).
    template <class C, class R, class A>
    Binder& both(const char* name, R (C::*get)() const, void (C::*set)(A)) {
        getter(name, get);
        return setter(name, set);
    }

    /// A member without arguments that changes the object (a preset) as `name`.
    template <class C>
    Binder& action(const char* name, void (C::*fn)(), const char* doc) {
        m_class.def(
            name, [fn](T& self) { (self.*fn)(); }, doc);
        return *this;
    }

private:
    py::class_<T, boost::shared_ptr<T>, Base...> m_class;
};

}  // namespace NorvPython

#endif
