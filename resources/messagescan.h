#pragma once

#include <QString>
#include <map>
#include <optional>
#include <vector>

// Finds the message literals ("240,Program již je spuštěn.") in the program's C++
// sources, so that the build can warn about a number used with two Czech texts and
// the tests can hold the language table against the code.
namespace messagescan {

struct Message {
    int number = 0;
    QString text;  // the Czech default: everything after the first comma
};

struct Use {
    Message message;
    QString file;  // relative to the scanned folder
    int line = 0;
};

// A string literal's text read as a message: 1 to 4 digits (not 0), a comma, then a
// text that holds a letter and does not begin with a digit after its blanks, so that
// numbers such as "1,5" or "0,00" are no messages.
std::optional<Message> parseMessage(const QString &literal);

// The messages among the string literals of one C++ source text. Comments and
// character literals are skipped; escapes are decoded; raw strings are read as written.
std::vector<Use> scanSource(const QString &code, const QString &file = QString());

// The folders that hold the program's code (not its tests or benchmarks).
const std::vector<QString> &programFolders();

// Every message in the C++ files of the program folders under sourceDir, in file order.
std::vector<Use> scanTree(const QString &sourceDir);

// Number -> each distinct Czech text -> where it is used.
using UsesByNumber = std::map<int, std::map<QString, std::vector<Use>>>;
UsesByNumber byNumber(const std::vector<Use> &uses);

// "file:line" for reports.
QString where(const Use &use);

}  // namespace messagescan
