#include "core/kvtMsgMngr.h"

#include <cstdio>
#include <utility>

void TMsgManager::Clear() { Items.clear(); }

void TMsgManager::Add(const std::string& text, TMsgKind kind, TDbObj* obj) {
  Items.push_back(std::make_unique<TMsgData>(text, kind, std::string(), 0, 0, obj));
}

void TMsgManager::AddAt(const std::string& text, const std::string& scriptName, int column,
                        int line, TMsgKind kind) {
  Items.push_back(std::make_unique<TMsgData>(text, kind, scriptName, column, line, nullptr));
}

void TMsgManager::AddFor(const std::string& text, TDbObj* obj, int column, int line,
                         TMsgKind kind) {
  Items.push_back(std::make_unique<TMsgData>(text, kind, std::string(), column, line, obj));
}

bool TMsgManager::HasKind(TMsgKind kind) const {
  for (const auto& m : Items)
    if (m->Kind == kind) return true;
  return false;
}

void TMsgManager::AppendFrom(const TMsgManager* other) {
  if (!other) return;
  // Fixed count and index access: appending to ourselves grows Items while
  // we read it.
  const std::size_t n = other->Items.size();
  Items.reserve(Items.size() + n);
  for (std::size_t i = 0; i < n; ++i) Items.push_back(std::make_unique<TMsgData>(*other->Items[i]));
}

std::string TMsgManager::GetErrorText() const {
  std::string result;
  bool first = true;
  for (const auto& m : Items) {
    if (m->Kind != mkError) continue;
    if (!first) result += "\r\n";
    result += m->Text;
    first = false;
  }
  return result;
}

namespace {

void DefaultShowErrorText(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

TShowErrorTextHandler& CurrentHandler() {
  static TShowErrorTextHandler handler = DefaultShowErrorText;
  return handler;
}

}  // namespace

TShowErrorTextHandler SetShowErrorTextHandler(TShowErrorTextHandler h) {
  TShowErrorTextHandler& cur = CurrentHandler();
  TShowErrorTextHandler previous = std::move(cur);
  cur = h ? std::move(h) : TShowErrorTextHandler(DefaultShowErrorText);
  return previous;
}

void ShowErrorText(const std::string& text) {
  try {
    // Copy first: a handler may replace itself while it runs.
    TShowErrorTextHandler h = CurrentHandler();
    if (h) h(text);
  } catch (...) {
    // Showing an error must not turn into another error.
  }
}
