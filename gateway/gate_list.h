#pragma once
// The stations whose Internet traffic the gateway passes to radio: every
// "CALL=ALL" line of every [INET_TO_RF] section of the host's igate.ini,
// Ovelsk's own block and the user's lines alike; and those it never passes,
// the "CALL=ALL" lines of [EXCLUDE] sections.
//
//   [INET_TO_RF]
//   ;Ovelsk IGATE Section - Start
//   K0ABC-9=ALL
//   ;Ovelsk IGATE Section - End
//   W1AW=ALL
//   [EXCLUDE]
//   N0SPAM=ALL
//
// The file is read again only when it changed: Ovelsk rewrites it while it
// handles a beacon event, after which the host says it may have changed; other
// changes are found by looking at the file at most once a second, and by the
// gate, which looks once more before anything goes out.

#include <sys/stat.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace ovelsk::gateway {

// Views into the text parsed.
struct GateListText {
    std::vector<std::string_view> stations;
    std::vector<std::string_view> excluded;
    // Lines of the sections that are neither "CALL=ALL", blank nor a ";" or "#" comment.
    std::vector<std::string_view> ignoredLines;
};

// The listed and excluded stations of igate.ini text. A section starts at its
// header line ([INET_TO_RF] as the section writer finds it, isIgateHeader) and
// ends at the next line starting with "[", blanks before it allowed. A station line is a callsign (1 to 9 letters, digits and
// "-") followed by "=ALL", blanks around it allowed.
GateListText parseGateList(std::string_view igateText);

class GateList {
public:
    // `igateIni` empty: the host has no program folder, so nothing is listed.
    // Notes on the file go to `log`.
    GateList(std::filesystem::path igateIni);

    // Ovelsk may just have rewritten the file: look again before the next answer.
    void fileMayHaveChanged() { mayHaveChanged_ = true; }

    // At `nowMs` on the host's clock: brings the list up to date if the file
    // may have changed or was last looked at a second ago, then answers.
    bool contains(std::string_view callsign, std::int64_t nowMs);
    // Whether [EXCLUDE] names the callsign (exactly, as the list does).
    bool excludes(std::string_view callsign, std::int64_t nowMs);

    std::size_t size() const { return stations_.size(); }
    // How often the file was looked at (a stat), and read.
    std::uint64_t looks() const { return looks_; }
    std::uint64_t reads() const { return reads_; }

private:
    // Unlike host/atomic_file.h's stamp, which must survive a rename, this one
    // counts the change time too: an edit that keeps size and modification time
    // (a copy with its times kept) still shows.
    struct FileStamp {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = -1;
        timespec modified{};
        timespec changed{};
        bool operator==(const FileStamp& other) const;
    };
    struct TransparentHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };

    void refresh(std::int64_t nowMs);
    void load(std::string_view text);
    void unreadable(const std::string& reason);

    std::filesystem::path igateIni_;
    bool mayHaveChanged_ = true;
    std::int64_t lastLookMs_ = 0;
    bool stamped_ = false;
    FileStamp stamp_;
    bool unreadableNoted_ = false;
    std::set<std::string> notedLines_;
    std::unordered_set<std::string, TransparentHash, std::equal_to<>> stations_;
    std::unordered_set<std::string, TransparentHash, std::equal_to<>> excluded_;
    std::uint64_t looks_ = 0;
    std::uint64_t reads_ = 0;
};

}  // namespace ovelsk::gateway
