// A small INI reader and writer for the window's settings file.
//
// Values are 8-bit text and are read back exactly as they were written:
// backslashes are ordinary characters (C:\Scripts\new.sql stays as it is),
// inner blanks are kept. Section and key names match case-insensitively
// (ASCII). Everything else in the file - other sections, other keys,
// comments, lines that are not entries - is kept in its order when the file
// is written back.
#pragma once

#include <QString>

#include <string>
#include <string_view>
#include <vector>

class TIniFile {
 public:
  // Loads the file. A missing file is an empty file; so is one that cannot be
  // read, which however is then never overwritten (see UpdateFile).
  explicit TIniFile(const QString& fileName);

  const QString& FileName() const { return FFileName; }
  // True when the file was present when it was loaded.
  bool Existed() const { return FExisted; }

  // Value of the first entry named key in the first section named section;
  // def when there is none. A value enclosed in matching double or single
  // quotes is returned without them.
  std::string ReadString(std::string_view section, std::string_view key,
                         const std::string& def) const;
  // The value as a decimal integer; def when it is absent or not a whole
  // number that fits.
  int ReadInteger(std::string_view section, std::string_view key, int def) const;

  // Sets a value in memory; the file changes only on UpdateFile. Returns false
  // and changes nothing when the names or the value cannot be stored in an INI
  // line (line breaks, NUL, '=' or ']' in names, empty names).
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  bool WriteInteger(std::string_view section, std::string_view key, int value);

  // Writes the whole file. The text goes to a temporary file in the same
  // directory, which is flushed to disk and then renamed over the original,
  // so an interrupted write never leaves a truncated settings file. Refuses
  // to replace a file that exists but could not be read, since its content
  // would be lost. On failure returns false and sets ErrorString.
  bool UpdateFile();
  const QString& ErrorString() const { return FError; }

  // The file text as UpdateFile writes it: CR LF line ends.
  std::string Text() const;

 private:
  enum TLineKind { lkOther, lkSection, lkEntry };
  struct TLine {
    TLineKind Kind = lkOther;
    std::string Raw;    // the line as read or as built, without line end
    std::string Name;   // section name or key, trimmed
    std::string Value;  // entry value, trimmed, still quoted
  };

  void Parse(const std::string& text);
  // Index of the header line of the first section named section, or -1.
  int FindSection(std::string_view section) const;
  // Index of the first entry named key after the header at sectionIdx, or -1.
  int FindKey(int sectionIdx, std::string_view key) const;

  QString FFileName;
  QString FError;
  std::vector<TLine> FLines;
  bool FExisted = false;
  bool FUnreadable = false;
  bool FUtf8Bom = false;
};
