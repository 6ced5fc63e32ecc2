#pragma once
// The colouring script editor's engine: splits a text into classed tokens and says which keywords
// must be rewritten in the keyword list's spelling. Positions count UTF-16 code units, as the
// editor's do; every character outside ASCII is plain unless it stands in a comment or string.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

enum class TokenClass { Plain, Comment, String, Number, Keyword };

inline constexpr std::size_t TOKEN_CLASS_COUNT = 5;

/// The keyword list of the math conversion's editor, exactly as it configures it.
inline constexpr std::string_view MATH_SCRIPT_KEYWORDS =
    " if else then endif  play goto function  open print var while  time times day mathdata VOID "
    "BYTE BOOL LONG FLOAT int char float unsigned char byte  break delete function return typeof  "
    "case do if switch var  catch else in this void  continue false instanceof throw while  "
    "debugger finally new true with  default for null try";

struct ScriptToken {
    std::size_t start;
    std::size_t length;
    TokenClass tokenClass;
};

// A keyword typed in another case: the characters from start take the list's spelling.
struct CaseCorrection {
    std::size_t start;
    std::u16string spelling;
};

struct ScriptTokens {
    std::vector<ScriptToken> tokens;  // cover the text without gap, in order
    std::vector<CaseCorrection> corrections;
};

// What the owner configures: comment and string characters, keywords and how they match.
class CScriptSyntax {
public:
    /// Case-sensitive matching turns case correction off.
    void SetCaseSensitive(bool caseSensitive);
    void SetCaseCorrection(bool caseCorrection) { m_caseCorrection = caseCorrection; }
    /// A comment starts at `first` (followed by `second` unless that is 0) and runs to the line end.
    void SetCommentChars(char16_t first, char16_t second = 0);
    /// Each of these characters opens a string that the same character closes.
    void SetStringQuotes(std::u16string_view quotes) { m_quotes = quotes; }
    /// Appends blank-separated words to the keyword list; a word listed twice keeps its first spelling.
    void AddKeywords(std::string_view list);

    /// The list's spelling of `word` if it is a keyword, else an empty view.
    std::string_view FindKeyword(std::u16string_view word) const;
    /// Splits the text into tokens; lines end at CR, LF, U+2028 and U+2029.
    ScriptTokens Tokenize(std::u16string_view text) const;

private:
    void RebuildMatching();

    bool m_caseSensitive = false;
    bool m_caseCorrection = true;
    char16_t m_comment = 0;  // 0: no comment character yet
    char16_t m_secondComment = 0;
    std::u16string m_quotes;
    std::string m_keywords;  // the list as added
    std::unordered_map<std::string, std::string> m_matching;  // matching form -> first spelling
};
