#include "IniFile.h"

#include "core/kvtTypes.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdint>

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
  const size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const size_t last = s.find_last_not_of(kBlanks);
  return s.substr(first, last - first + 1);
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

bool HasLineBreakOrNul(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool IsQuoted(std::string_view v) {
  return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

// Values that would lose characters when read back (outer blanks are trimmed,
// outer quotes are removed) are stored inside double quotes.
std::string EncodeValue(std::string_view value) {
  const bool needsQuotes = !value.empty() && (kBlanks.find(value.front()) != std::string_view::npos ||
                                              kBlanks.find(value.back()) != std::string_view::npos ||
                                              IsQuoted(value));
  if (!needsQuotes) return std::string(value);
  std::string s;
  s.reserve(value.size() + 2);
  s += '"';
  s += value;
  s += '"';
  return s;
}

bool ValidSectionName(std::string_view s) {
  return !s.empty() && Trim(s) == s && !HasLineBreakOrNul(s) && s.find(']') == std::string_view::npos;
}

bool ValidKeyName(std::string_view s) {
  return !s.empty() && Trim(s) == s && !HasLineBreakOrNul(s) &&
         s.find('=') == std::string_view::npos && s.front() != '[' && s.front() != ';' &&
         s.front() != '#';
}

}  // namespace

TIniFile::TIniFile(const QString& fileName) : FFileName(fileName) {
  const QFileInfo info(fileName);
  FExisted = info.exists();
  if (!FExisted) return;
  QFile file(fileName);
  if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
    FUnreadable = true;
    return;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    FUnreadable = true;
    return;
  }
  Parse(bytes.toStdString());
}

void TIniFile::Parse(const std::string& text) {
  std::string_view rest(text);
  if (rest.starts_with(kUtf8Bom)) {
    FUtf8Bom = true;
    rest.remove_prefix(kUtf8Bom.size());
  }
  while (!rest.empty()) {
    // Lines end in CR LF, LF or a lone CR.
    const size_t end = rest.find_first_of("\r\n");
    const std::string_view raw = rest.substr(0, end);
    if (end == std::string_view::npos) {
      rest = {};
    } else {
      const size_t skip = (rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n') ? 2 : 1;
      rest.remove_prefix(end + skip);
    }

    TLine line;
    line.Raw = std::string(raw);
    const std::string_view t = Trim(raw);
    if (t.starts_with('[')) {
      const size_t close = t.find(']');
      if (close != std::string_view::npos) {
        line.Kind = lkSection;
        line.Name = std::string(Trim(t.substr(1, close - 1)));
      }
    } else if (!t.empty() && t.front() != ';' && t.front() != '#') {
      const size_t eq = t.find('=');
      if (eq != std::string_view::npos) {
        const std::string_view key = Trim(t.substr(0, eq));
        if (!key.empty()) {
          line.Kind = lkEntry;
          line.Name = std::string(key);
          line.Value = std::string(Trim(t.substr(eq + 1)));
        }
      }
    }
    FLines.push_back(std::move(line));
  }
}

int TIniFile::FindSection(std::string_view section) const {
  for (size_t i = 0; i < FLines.size(); ++i)
    if (FLines[i].Kind == lkSection && SameName(FLines[i].Name, section)) return static_cast<int>(i);
  return -1;
}

int TIniFile::FindKey(int sectionIdx, std::string_view key) const {
  for (size_t i = static_cast<size_t>(sectionIdx) + 1; i < FLines.size(); ++i) {
    if (FLines[i].Kind == lkSection) break;
    if (FLines[i].Kind == lkEntry && SameName(FLines[i].Name, key)) return static_cast<int>(i);
  }
  return -1;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 const std::string& def) const {
  const int s = FindSection(section);
  if (s < 0) return def;
  const int k = FindKey(s, key);
  if (k < 0) return def;
  const std::string& v = FLines[static_cast<size_t>(k)].Value;
  return IsQuoted(v) ? v.substr(1, v.size() - 2) : v;
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
  int32_t value = 0;
  return TryParseInt(ReadString(section, key, std::string()), value) ? value : def;
}

bool TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  if (!ValidSectionName(section) || !ValidKeyName(key) || HasLineBreakOrNul(value)) return false;
  const std::string encoded = EncodeValue(value);

  const int s = FindSection(section);
  if (s < 0) {
    // New section at the end, set off from what precedes it by an empty line.
    if (!FLines.empty() && !Trim(FLines.back().Raw).empty()) FLines.push_back(TLine{});
    TLine header;
    header.Kind = lkSection;
    header.Name = std::string(section);
    header.Raw = "[" + header.Name + "]";
    FLines.push_back(std::move(header));
    TLine entry;
    entry.Kind = lkEntry;
    entry.Name = std::string(key);
    entry.Value = encoded;
    entry.Raw = entry.Name + "=" + encoded;
    FLines.push_back(std::move(entry));
    return true;
  }

  const int k = FindKey(s, key);
  if (k >= 0) {
    // Keep the spelling of the key as it is in the file.
    TLine& line = FLines[static_cast<size_t>(k)];
    line.Value = encoded;
    line.Raw = line.Name + "=" + encoded;
    return true;
  }

  // New key after the last non-empty line of the section, so that an empty
  // line separating it from the next section stays where it is.
  size_t insertAt = static_cast<size_t>(s) + 1;
  for (size_t i = insertAt; i < FLines.size() && FLines[i].Kind != lkSection; ++i)
    if (!Trim(FLines[i].Raw).empty()) insertAt = i + 1;
  TLine entry;
  entry.Kind = lkEntry;
  entry.Name = std::string(key);
  entry.Value = encoded;
  entry.Raw = entry.Name + "=" + encoded;
  FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(entry));
  return true;
}

bool TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  return WriteString(section, key, std::to_string(value));
}

std::string TIniFile::Text() const {
  std::string text;
  if (FUtf8Bom) text += kUtf8Bom;
  for (const TLine& line : FLines) {
    text += line.Raw;
    text += "\r\n";
  }
  return text;
}

bool TIniFile::UpdateFile() {
  FError.clear();
  if (FUnreadable) {
    FError = QStringLiteral("%1 exists but could not be read; it is left unchanged").arg(FFileName);
    return false;
  }
  QSaveFile file(FFileName);
  if (!file.open(QIODevice::WriteOnly)) {
    FError = QStringLiteral("Cannot write %1: %2").arg(FFileName, file.errorString());
    return false;
  }
  const std::string text = Text();
  if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
    FError = QStringLiteral("Cannot write %1: %2").arg(FFileName, file.errorString());
    file.cancelWriting();
    return false;
  }
  // commit() flushes the temporary file to disk and renames it over the original.
  if (!file.commit()) {
    FError = QStringLiteral("Cannot write %1: %2").arg(FFileName, file.errorString());
    return false;
  }
  FExisted = true;
  return true;
}
