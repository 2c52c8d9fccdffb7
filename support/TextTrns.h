// Translation of names between two languages of the string table: colour and material names by
// exact texts, article designations by patterns in which "%lg" stands for a number and "%s" for
// a colour name. Price lists, stock lists and design files carry the neutral names; the user
// interface shows the German ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CTextTrns {
public:
    // Translates from texts in fromLang into texts in toLang (Windows language identifiers).
    CTextTrns(uint16_t fromLang, uint16_t toLang);

    // Drops both ranges; the table is then empty and may be loaded again.
    void Free();
    // Loads the string ids first..last of both languages as pattern pairs (replacing any loaded
    // before). A missing or empty text is reported by the loader and never matches.
    void LoadPtrns(uint32_t first, uint32_t last);
    // Loads the string ids first..last of both languages as exact pairs (replacing any loaded
    // before).
    void LoadTexts(uint32_t first, uint32_t last);

    // The to-text of the first exact from-text equal to text (byte comparison). false leaves
    // out unchanged.
    bool Lookup(const std::string& text, std::string& out) const;
    // Translates text by the first pattern pair, in ascending id order, that matches the whole
    // text: numbers at "%lg" are copied character for character, the rest at "%s" is looked up
    // among the exact texts and carried over unchanged when it is none of them. false (no
    // pattern loaded or none matches) leaves out unchanged.
    bool Translate(const std::string& text, std::string& out) const;

    int GetPatternCount() const { return static_cast<int>(m_ptrnsFrom.size()); }
    int GetTextCount() const { return static_cast<int>(m_textsFrom.size()); }

private:
    // Entry k of a range holds string id first + k in both languages.
    std::vector<std::string> m_ptrnsFrom;
    std::vector<std::string> m_ptrnsTo;
    std::vector<std::string> m_textsFrom;
    std::vector<std::string> m_textsTo;
    uint16_t m_fromLang;
    uint16_t m_toLang;
};
