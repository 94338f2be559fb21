#pragma once

#include <QByteArray>
#include <QStringView>
#include <string>
#include <string_view>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Cuts a text into the items of a movie's comma list. Commas separate items; a character from 1 to 32
// (blank or control) also ends an item and is skipped before the first item and after each item and
// comma; an item that begins with a double quote runs to the closing quote, a doubled quote inside it
// standing for one quote. A comma at the start gives an empty first item, two commas an empty item between
// them, and a comma as the very last character a final empty item. Works on UTF-16 text and, for the large
// pixel texts, on the one-byte-per-character form made by appendNarrowed().
template <typename Char> class CommaItems {
public:
    using View = std::basic_string_view<Char>;

    explicit CommaItems(View text) : text_(text) { skipBlanks(); }

    // The next item, or false when the text has none left. The view stays valid until the next call.
    bool next(View& item) {
        if (finalEmpty_) {
            finalEmpty_ = false;
            item = View();
            return true;
        }
        if (pos_ >= text_.size()) {
            return false;
        }
        if (const Char* six = nextSix()) {
            item = View(six, 6);
            return true;
        }
        if (text_[pos_] == Char('"')) {
            item = quoted();
        } else {
            const size_t start = pos_;
            while (pos_ < text_.size() && !isBlank(text_[pos_]) && text_[pos_] != Char(',')) {
                ++pos_;
            }
            item = text_.substr(start, pos_ - start);
        }
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] == Char(',')) {
            finalEmpty_ = pos_ + 1 == text_.size();
            ++pos_;
            skipBlanks();
        }
        return true;
    }

    // The usual pixel item: six characters that need no splitting work, then a comma. Returns them and moves
    // past, or returns nullptr and leaves the position for next().
    const Char* nextSix() {
        if (finalEmpty_ || text_.size() - pos_ < 7 || text_[pos_ + 6] != Char(',') ||
            text_[pos_] == Char('"')) {
            return nullptr;
        }
        const Char* p = text_.data() + pos_;
        if (!(ordinary(p[0]) & ordinary(p[1]) & ordinary(p[2]) & ordinary(p[3]) & ordinary(p[4]) &
              ordinary(p[5]))) {
            return nullptr;
        }
        pos_ += 7;
        finalEmpty_ = pos_ == text_.size();
        skipBlanks();
        return p;
    }

    static bool isBlank(Char c) {
        const auto code = static_cast<std::make_unsigned_t<Char>>(c);
        return code >= 1 && code <= 32;
    }

private:
    static bool ordinary(Char c) { return !isBlank(c) && c != Char(','); }

    void skipBlanks() {
        while (pos_ < text_.size() && isBlank(text_[pos_])) {
            ++pos_;
        }
    }

    // pos_ is on the opening quote. Without a closing quote the item runs to the end of the text.
    View quoted() {
        ++pos_;
        const size_t start = pos_;
        size_t close = text_.find(Char('"'), pos_);
        if (close == View::npos) {
            pos_ = text_.size();
            return text_.substr(start);
        }
        if (close + 1 >= text_.size() || text_[close + 1] != Char('"')) {
            pos_ = close + 1;
            return text_.substr(start, close - start);
        }
        // Doubled quotes: only then is the item copied.
        unquoted_.clear();
        size_t from = start;
        while (close != View::npos && close + 1 < text_.size() && text_[close + 1] == Char('"')) {
            unquoted_.append(text_.substr(from, close + 1 - from));
            from = close + 2;
            close = text_.find(Char('"'), from);
        }
        if (close == View::npos) {
            unquoted_.append(text_.substr(from));
            pos_ = text_.size();
        } else {
            unquoted_.append(text_.substr(from, close - from));
            pos_ = close + 1;
        }
        return View(unquoted_);
    }

    View text_;
    size_t pos_ = 0;
    bool finalEmpty_ = false;
    std::basic_string<Char> unquoted_;
};

// Appends text to a byte buffer, one byte per UTF-16 unit: units up to 255 as themselves, the others as '?'.
// Item boundaries, item lengths and which items are hexadecimal stay as in the text, so the buffer splits
// into the same items at half the memory.
inline void appendNarrowed(QByteArray& buffer, QStringView text) {
    const qsizetype old = buffer.size();
    buffer.resize(old + text.size());
    char* out = buffer.data() + old;
    const char16_t* in = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = 0;
#if defined(__SSE2__)
    // Sixteen units at a time: the pixel texts are tens of megabytes.
    const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF00));
    const __m128i zero = _mm_setzero_si128();
    const __m128i question = _mm_set1_epi16('?');
    const auto narrow = [&](__m128i units) {
        const __m128i fits = _mm_cmpeq_epi16(_mm_and_si128(units, high), zero);
        return _mm_or_si128(_mm_and_si128(fits, units), _mm_andnot_si128(fits, question));
    };
    for (; i + 16 <= n; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(narrow(a), narrow(b)));
    }
#endif
    for (; i < n; ++i) {
        const char16_t c = in[i];
        out[i] = static_cast<char>(c < 256 ? c : u'?');
    }
}
