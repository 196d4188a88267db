// One stored value of a record: the record's field it fills, its stored
// type (a text is a string value, a flag and a number are 32-bit integers)
// and its default. Every record kept in the settings store (the settings,
// each tool, each history entry) is read and written value by value here.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "registry.h"

// Appends one line to the texts of the values a load could not read.
void AppendLoadError(std::string* errors, const std::string& line);

// A text value; one stored with another type gives `byDefault`, its error
// appended to errors (when given), so that the load can go on.
std::string ReadText(RegistryAccess& reg, const std::string& name, const std::string& byDefault,
                     std::string* errors);

template <typename Record>
struct TextField {
    std::string Record::*field;
    const char* fixedDefault = "";
    std::string (*computedDefault)() = nullptr;  // when set, asked at every load instead

    std::string byDefault() const {
        return computedDefault != nullptr ? computedDefault() : fixedDefault;
    }
    static std::string read(RegistryAccess& reg, const std::string& name, const std::string& def,
                            std::string* errors) {
        return ReadText(reg, name, def, errors);
    }
    static bool write(RegistryAccess& reg, const std::string& name, const std::string& value) {
        return reg.writeString(name, value);
    }
};

// A flag: a stored integer other than zero is true; anything else but an
// integer gives the default.
template <typename Record>
struct FlagField {
    bool Record::*field;
    bool fixedDefault = false;

    bool byDefault() const { return fixedDefault; }
    static bool read(RegistryAccess& reg, const std::string& name, bool def, std::string*) {
        return reg.readBool(name, def);
    }
    static bool write(RegistryAccess& reg, const std::string& name, bool value) {
        return reg.writeBool(name, value);
    }
};

// A number: anything else but an integer gives the default.
template <typename Record>
struct NumberField {
    std::int32_t Record::*field;
    std::int32_t fixedDefault = 0;

    std::int32_t byDefault() const { return fixedDefault; }
    static std::int32_t read(RegistryAccess& reg, const std::string& name, std::int32_t def,
                             std::string*) {
        return reg.readInteger(name, def);
    }
    static bool write(RegistryAccess& reg, const std::string& name, std::int32_t value) {
        return reg.writeInteger(name, value);
    }
};

template <typename Record>
using StoredField = std::variant<TextField<Record>, FlagField<Record>, NumberField<Record>>;

template <typename Record>
constexpr StoredField<Record> textField(std::string Record::*field, const char* byDefault = "") {
    return TextField<Record>{field, byDefault, nullptr};
}

template <typename Record>
constexpr StoredField<Record> computedTextField(std::string Record::*field,
                                                std::string (*byDefault)()) {
    return TextField<Record>{field, "", byDefault};
}

template <typename Record>
constexpr StoredField<Record> flagField(bool Record::*field, bool byDefault = false) {
    return FlagField<Record>{field, byDefault};
}

template <typename Record>
constexpr StoredField<Record> numberField(std::int32_t Record::*field, std::int32_t byDefault = 0) {
    return NumberField<Record>{field, byDefault};
}

// A field and its value name, for a record stored once per index (the
// name followed by the index).
template <typename Record>
struct NamedField {
    const char* name;
    StoredField<Record> field;
};

// Reads value `name` of reg's open key into the record's field: a missing
// value or one of another type gives the default (a text's error appended
// to errors).
template <typename Record>
void ReadField(RegistryAccess& reg, const std::string& name, const StoredField<Record>& stored,
               Record& record, std::string* errors) {
    std::visit([&](const auto& f) { record.*f.field = f.read(reg, name, f.byDefault(), errors); },
               stored);
}

// Writes the record's field as value `name` of reg's open key; false when
// the store refuses.
template <typename Record>
bool WriteField(RegistryAccess& reg, const std::string& name, const StoredField<Record>& stored,
                const Record& record) {
    return std::visit([&](const auto& f) { return f.write(reg, name, record.*f.field); }, stored);
}

template <typename Record>
void SetDefault(const StoredField<Record>& stored, Record& record) {
    std::visit([&](const auto& f) { record.*f.field = f.byDefault(); }, stored);
}
