// Collected messages of a parse, an extraction or a comparison. Problems are
// gathered here instead of stopping the run; the host reads them at the end.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TDbObj;

enum TMsgKind : uint8_t { mkWarning = 1, mkError = 2 };

// One message. Position fields are 0 and ScriptName is empty when the
// reporter did not know them.
class TMsgData {
 public:
  TMsgData() = default;
  TMsgData(const std::string& text, TMsgKind kind, const std::string& scriptName, int column,
           int line, TDbObj* obj)
      : Text(text), Kind(kind), ScriptName(scriptName), Column(column), Line(line), Obj(obj) {}

  std::string Text;
  TMsgKind Kind = mkError;
  std::string ScriptName;  // script file being read
  int32_t Column = 0;      // 0-based column of the reporter's position
  int32_t Line = 0;        // line of the reporter's position
  TDbObj* Obj = nullptr;   // object being parsed; not owned
};

// Ordered list of messages; owns its entries.
class TMsgManager {
 public:
  std::vector<std::unique_ptr<TMsgData>> Items;

  // Removes and frees every message.
  void Clear();
  // Message without a script position.
  void Add(const std::string& text, TMsgKind kind, TDbObj* obj = nullptr);
  // Message at a position of a script file.
  void AddAt(const std::string& text, const std::string& scriptName, int column, int line,
             TMsgKind kind);
  // Message at a position within the statement text of an object.
  void AddFor(const std::string& text, TDbObj* obj, int column, int line, TMsgKind kind);

  bool HasKind(TMsgKind kind) const;
  bool HasErrors() const { return HasKind(mkError); }
  // Appends copies of every message of other, in order. Null is ignored;
  // appending a manager to itself duplicates its messages once.
  void AppendFrom(const TMsgManager* other);
  // Texts of the error messages in order, joined by CR LF; warnings are left out.
  std::string GetErrorText() const;
  int Count() const { return static_cast<int>(Items.size()); }
};

// Shows an error to the user. The library has no window of its own: the text
// goes to a process-wide handler, by default one that writes the text and a
// line break to standard error. A window installs a modal message box.
using TShowErrorTextHandler = std::function<void(const std::string&)>;
// Installs h and returns the previous handler. An empty h restores the
// default handler.
TShowErrorTextHandler SetShowErrorTextHandler(TShowErrorTextHandler h);
// Never throws: a failing handler is ignored.
void ShowErrorText(const std::string& text);
