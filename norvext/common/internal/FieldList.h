#ifndef NORVEXT_COMMON_INTERNAL_FIELDLIST_H
#define NORVEXT_COMMON_INTERNAL_FIELDLIST_H

// The one list of a persisted class's fields, which drives its write(),
// read() and dump() here and its JSON members in NorvJson.
//
// FieldList<T> is specialised once per class, in the class's internal
// <Class>Fields.h, as a friend of the class:
//
//   template <>
//   struct FieldList<DBField> {
//       static constexpr auto s_fields = std::make_tuple(
//           field("id", &DBField::m_id), field("name", &DBField::m_name), ...);
//   };
//
// An entry is one of:
// - field(key, &T::m_x): a plain value, of the kind its type gives (see
//   kindOf() below); `key` is its dump key and its JSON member.
//   .json("name") gives a JSON member of another name, .undumped() keeps the
//   value out of the dump;
// - field(key, &T::m_x, kind) with a kind of its own (Low32, Named);
// - textForm(key, &T::m_x, toText, addText): values that the buffer and the
//   dump hold as the text toText() makes, read back through addText(); JSON
//   holds the values themselves, as an array;
// - children(json, &T::m_x) / appendedChildren(json, &T::m_x): a vector of
//   persisted objects (or shared pointers to them) behind their count; read
//   replaces the elements or appends to them; the dump nests each block;
//   JSON holds an array;
// - child(json, &T::m_x): one shared persisted object, dumped nested; JSON
//   null when there is none;
// - base<B>(dump): the fields of a base class, written and read by B's own
//   write() and read(), dumped by B's dump() at the block's level
//   (BaseDump::Level) or one deeper (BaseDump::Nested);
// - typeCode(n): a number written in front of the fields, not read back
//   (the term factory reads it to choose the class);
// - afterRead(f): f(object) runs once every field has been read.
//
// Entries are written and read in list order; the dump and JSON show them
// in the same order. The JSON form of each kind is NorvJson's
// (JsonMapping.cpp). Everything here is resolved at compile time: a
// generated write() is the sequence of puts a hand-written one would be.

#include <norvext/common/internal/DumpFlag.h>
#include <norvext/common/internal/Persist.h>

#include <norvutil/AlignedBuf.h>
#include <norvutil/Indent.h>
#include <norvutil/Tracer.h>

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>

#include <iosfwd>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace Norv {
namespace internal {

template <class T>
struct FieldList;

// ---- Kinds of plain values: into the buffer, out of it, into a dump. ----

// A byte run.
struct Text {
    static void put(AlignedBuf& buf, const std::string& value) { putString(buf, value); }
    static void get(AlignedBuf& buf, std::string& value) { buf.get(value); }
    static void show(const Tracer& trace, const char* key, const std::string& value) { trace(key, value); }
};

// A byte run; the dump shows its length.
struct Bytes {
    static void put(AlignedBuf& buf, const std::vector<char>& value) { putBytes(buf, value); }
    static void get(AlignedBuf& buf, std::vector<char>& value) { getBytes(buf, value); }
    static void show(const Tracer& trace, const char* key, const std::vector<char>& value) {
        trace(key, static_cast<unsigned int>(value.size()));
    }
};

// 32 bits, signed.
struct Int32 {
    static void put(AlignedBuf& buf, int value) { buf.put(static_cast<unsigned int>(value)); }
    static void get(AlignedBuf& buf, int& value) { buf.get(value); }
    static void show(const Tracer& trace, const char* key, int value) { trace(key, value); }
};

// 32 bits, unsigned.
struct UInt32 {
    static void put(AlignedBuf& buf, unsigned int value) { buf.put(value); }
    static void get(AlignedBuf& buf, unsigned int& value) { buf.get(value); }
    static void show(const Tracer& trace, const char* key, unsigned int value) { trace(key, value); }
};

// A flag; the dump shows "true" or "false".
struct Flag {
    static void put(AlignedBuf& buf, bool value) { buf.put(value); }
    static void get(AlignedBuf& buf, bool& value) { buf.get(value); }
    static void show(const Tracer& trace, const char* key, bool value) { trace(key, flagText(value)); }
};

// A double.
struct Real {
    static void put(AlignedBuf& buf, double value) { buf.put(value); }
    static void get(AlignedBuf& buf, double& value) { buf.get(value); }
    static void show(const Tracer& trace, const char* key, double value) { trace(key, value); }
};

// A 64-bit integer of which only the low 32 bits travel: they read back
// widened with zeros, and the dump shows them as a signed 32-bit number.
struct Low32 {
    static void put(AlignedBuf& buf, long long value) { buf.put(static_cast<unsigned int>(value)); }
    static void get(AlignedBuf& buf, long long& value) {
        unsigned int low = 0;
        buf.get(low);
        value = low;
    }
    static void show(const Tracer& trace, const char* key, long long value) {
        trace(key, static_cast<int>(static_cast<unsigned int>(value)));
    }
};

// An enumeration from `first` to `last`, travelling as its value; the dump
// shows nameOf(value). A value read outside the range throws
// std::runtime_error(refusal + value), or with a null refusal is dropped:
// the field keeps what it held.
template <class E>
struct Named {
    const char* (*nameOf)(E);
    E first;
    E last;
    const char* refusal;

    void put(AlignedBuf& buf, E value) const { buf.put(static_cast<unsigned int>(value)); }
    void get(AlignedBuf& buf, E& value) const {
        int code = 0;
        buf.get(code);
        if (code >= first && code <= last) {
            value = static_cast<E>(code);
        } else if (refusal != nullptr) {
            throw std::runtime_error(refusal + std::to_string(code));
        }
    }
    void show(const Tracer& trace, const char* key, E value) const { trace(key, nameOf(value)); }
};

// The kind of a plain value, by its type.
template <class V>
constexpr auto kindOf() {
    if constexpr (std::is_same<V, std::string>::value) {
        return Text();
    } else if constexpr (std::is_same<V, std::vector<char>>::value) {
        return Bytes();
    } else if constexpr (std::is_same<V, int>::value) {
        return Int32();
    } else if constexpr (std::is_same<V, unsigned int>::value) {
        return UInt32();
    } else if constexpr (std::is_same<V, bool>::value) {
        return Flag();
    } else {
        static_assert(std::is_same<V, double>::value, "no kind of plain value has this type: name the kind");
        return Real();
    }
}

// ---- Elements of vectors and shared children. ----

// How one element is read: a persisted class by its buffer constructor, a
// shared one into a new object (readInto() gives it to a child). A class
// whose objects are made otherwise (terms, by their factory) specialises it.
template <class E>
struct ElementOf {
    static E read(AlignedBuf& buf) { return E(buf); }
};
template <class E>
struct ElementOf<boost::shared_ptr<E>> {
    static boost::shared_ptr<E> read(AlignedBuf& buf) { return boost::make_shared<E>(buf); }
    static void readInto(AlignedBuf& buf, boost::shared_ptr<E>& into) { into = read(buf); }
};

template <class E>
void writeElement(AlignedBuf& buf, const E& element) {
    element.write(buf);
}
template <class E>
void writeElement(AlignedBuf& buf, const boost::shared_ptr<E>& element) {
    element->write(buf);
}
template <class E>
void dumpElement(std::ostream& os, int level, const E& element) {
    element.dump(os, level);
}
// A null shared element shows nothing.
template <class E>
void dumpElement(std::ostream& os, int level, const boost::shared_ptr<E>& element) {
    if (element) {
        element->dump(os, level);
    }
}

// ---- Entries. ----

template <class T, class V, class K>
struct Field {
    using Kind = K;

    const char* key;
    V T::*member;
    Kind kind;
    const char* jsonName;
    bool dumped;

    // The JSON member, when it is not the dump key.
    constexpr Field json(const char* name) const { return {key, member, kind, name, dumped}; }
    // Left out of the dump.
    constexpr Field undumped() const { return {key, member, kind, jsonName, false}; }
    constexpr const char* jsonKey() const { return jsonName != nullptr ? jsonName : key; }

    void write(const T& object, AlignedBuf& buf) const { kind.put(buf, object.*member); }
    void read(T& object, AlignedBuf& buf) const { kind.get(buf, object.*member); }
    void dump(const T& object, std::ostream&, const Tracer& trace) const {
        if (dumped) {
            kind.show(trace, key, object.*member);
        }
    }
};

template <class T, class V>
constexpr Field<T, V, decltype(kindOf<V>())> field(const char* key, V T::*member) {
    return {key, member, kindOf<V>(), nullptr, true};
}

template <class T, class V, class Kind>
constexpr Field<T, V, Kind> field(const char* key, V T::*member, Kind kind) {
    return {key, member, kind, nullptr, true};
}

template <class T, class V>
struct TextForm {
    const char* key;
    V T::*member;
    std::string (T::*toText)() const;
    void (T::*addText)(const std::string&);
    const char* jsonName;

    constexpr TextForm json(const char* name) const { return {key, member, toText, addText, name}; }
    constexpr const char* jsonKey() const { return jsonName != nullptr ? jsonName : key; }

    void write(const T& object, AlignedBuf& buf) const { putString(buf, (object.*toText)()); }
    void read(T& object, AlignedBuf& buf) const {
        std::string text;
        buf.get(text);
        (object.*addText)(text);
    }
    void dump(const T& object, std::ostream&, const Tracer& trace) const { trace(key, (object.*toText)()); }
};

template <class T, class V>
constexpr TextForm<T, V> textForm(const char* key, V T::*member, std::string (T::*toText)() const,
                                  void (T::*addText)(const std::string&)) {
    return {key, member, toText, addText, nullptr};
}

enum class ReadMode { Replace, Append };

template <class T, class E, ReadMode M>
struct Children {
    const char* jsonKey;
    std::vector<E> T::*member;

    void write(const T& object, AlignedBuf& buf) const {
        writeElements(buf, object.*member, [&buf](const E& element) { writeElement(buf, element); });
    }
    // Replacing reads into a new vector, swapped in once whole.
    void read(T& object, AlignedBuf& buf) const {
        const auto readOne = [](AlignedBuf& in) { return ElementOf<E>::read(in); };
        if constexpr (M == ReadMode::Append) {
            appendElements(buf, object.*member, readOne);
        } else {
            std::vector<E> elements;
            readElements(buf, elements, readOne);
            (object.*member).swap(elements);
        }
    }
    void dump(const T& object, std::ostream& os, const Tracer& trace) const {
        for (const E& element : object.*member) {
            dumpElement(os, trace.nestedIndent(), element);
        }
    }
};

template <class T, class E>
constexpr Children<T, E, ReadMode::Replace> children(const char* jsonKey, std::vector<E> T::*member) {
    return {jsonKey, member};
}

template <class T, class E>
constexpr Children<T, E, ReadMode::Append> appendedChildren(const char* jsonKey, std::vector<E> T::*member) {
    return {jsonKey, member};
}

template <class T, class E>
struct Child {
    const char* jsonKey;
    boost::shared_ptr<E> T::*member;

    void write(const T& object, AlignedBuf& buf) const { writeElement(buf, object.*member); }
    void read(T& object, AlignedBuf& buf) const { ElementOf<boost::shared_ptr<E>>::readInto(buf, object.*member); }
    void dump(const T& object, std::ostream& os, const Tracer& trace) const {
        dumpElement(os, trace.nestedIndent(), object.*member);
    }
};

template <class T, class E>
constexpr Child<T, E> child(const char* jsonKey, boost::shared_ptr<E> T::*member) {
    return {jsonKey, member};
}

enum class BaseDump { Level, Nested };

template <class B>
struct Base {
    BaseDump at;

    template <class O>
    void write(const O& object, AlignedBuf& buf) const {
        object.B::write(buf);
    }
    template <class O>
    void read(O& object, AlignedBuf& buf) const {
        object.B::read(buf);
    }
    template <class O>
    void dump(const O& object, std::ostream& os, const Tracer& trace) const {
        object.B::dump(os, at == BaseDump::Nested ? trace.nestedIndent() : trace.nestedIndent() - 1);
    }
};

template <class B>
constexpr Base<B> base(BaseDump at) {
    return {at};
}

struct TypeCode {
    unsigned int code;

    template <class O>
    void write(const O&, AlignedBuf& buf) const {
        buf.put(code);
    }
    template <class O>
    void read(O&, AlignedBuf&) const {}
    template <class O>
    void dump(const O&, std::ostream&, const Tracer&) const {}
};

constexpr TypeCode typeCode(unsigned int code) { return {code}; }

template <class T>
struct AfterRead {
    void (*finish)(T&);

    void write(const T&, AlignedBuf&) const {}
    void read(T& object, AlignedBuf&) const { finish(object); }
    void dump(const T&, std::ostream&, const Tracer&) const {}
};

template <class T>
constexpr AfterRead<T> afterRead(void (*finish)(T&)) {
    return {finish};
}

// ---- Walking a class's list. ----

// Calls visit(entry) for each entry of T's list, in order.
template <class T, class Visit>
void forEachField(Visit&& visit) {
    std::apply([&visit](const auto&... entry) { (visit(entry), ...); }, FieldList<T>::s_fields);
}

template <class T>
void writeFields(const T& object, AlignedBuf& buf) {
    forEachField<T>([&](const auto& entry) { entry.write(object, buf); });
}

// A buffer failure leaves the fields before the failing one replaced.
template <class T>
void readFields(T& object, AlignedBuf& buf) {
    forEachField<T>([&](const auto& entry) { entry.read(object, buf); });
}

// A block named `name` at `level` with every entry in list order.
template <class T>
void dumpFields(const T& object, std::ostream& os, int level, const char* name) {
    const Tracer trace(os, Indent(level), name);
    forEachField<T>([&](const auto& entry) { entry.dump(object, os, trace); });
}

template <class Entry>
constexpr unsigned int codeOf(const Entry& entry) {
    if constexpr (std::is_same<Entry, TypeCode>::value) {
        return entry.code;
    } else {
        return 0;
    }
}

// The type code of T's list, 0 for a list without one.
template <class T>
constexpr unsigned int typeCodeOf() {
    return std::apply([](const auto&... entry) { return (codeOf(entry) + ... + 0u); }, FieldList<T>::s_fields);
}

}  // namespace internal
}  // namespace Norv

#endif
