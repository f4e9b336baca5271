#pragma once

#include <cstdio>
#include <string>

namespace servo {

// Builds a JSON text: objects, arrays, strings, numbers and booleans, commas put in as needed.
class JsonWriter {
public:
    JsonWriter& beginObject(const char* key = nullptr) { return open(key, '{'); }
    JsonWriter& endObject() { return close('}'); }
    JsonWriter& beginArray(const char* key = nullptr) { return open(key, '['); }
    JsonWriter& endArray() { return close(']'); }

    JsonWriter& value(const char* key, const std::string& text) {
        prefix(key);
        quote(text);
        return *this;
    }
    JsonWriter& value(const char* key, const char* text) {
        return value(key, std::string(text != nullptr ? text : ""));
    }
    JsonWriter& value(const char* key, double number) {
        prefix(key);
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", number);
        out_ += text;
        return *this;
    }
    JsonWriter& value(const char* key, int number) {
        return value(key, static_cast<double>(number));
    }
    JsonWriter& value(const char* key, bool on) {
        prefix(key);
        out_ += on ? "true" : "false";
        return *this;
    }
    JsonWriter& null(const char* key) {
        prefix(key);
        out_ += "null";
        return *this;
    }

    // The next member or element starts a new line.
    JsonWriter& breakLine() {
        breakPending_ = true;
        return *this;
    }

    const std::string& text() const { return out_; }

private:
    JsonWriter& open(const char* key, char bracket) {
        prefix(key);
        out_ += bracket;
        first_ = true;
        return *this;
    }
    JsonWriter& close(char bracket) {
        out_ += bracket;
        first_ = false;
        return *this;
    }
    void prefix(const char* key) {
        if (!first_) {
            out_ += ',';
        }
        if (breakPending_) {
            out_ += '\n';
            breakPending_ = false;
        }
        first_ = false;
        if (key != nullptr) {
            quote(key);
            out_ += ':';
        }
    }
    void quote(const std::string& text) {
        out_ += '"';
        for (const char c : text) {
            if (c == '"' || c == '\\') {
                out_ += '\\';
                out_ += c;
            } else if (c == '\n') {
                out_ += "\\n";
            } else if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out_ += escaped;
            } else {
                out_ += c;
            }
        }
        out_ += '"';
    }

    std::string out_;
    bool first_ = true;
    bool breakPending_ = false;
};

} // namespace servo
