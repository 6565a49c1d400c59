// Helpers for the tests of the kinds that stand by themselves (exceptions,
// functions, defaults, roles, rules, packages, operators): objects added by
// name, and the statement list read back as texts.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "kvtKindsFixture.h"

// Adds a new T named `name` to `objs` after `setup` has filled it in (a list
// key may depend on more than the name).
template <class T>
T* AddNamed(TObjs& objs, const std::string& name, const std::function<void(T&)>& setup = {}) {
  auto o = std::make_unique<T>(&objs);
  o->SetName(name);
  if (setup) setup(*o);
  T* raw = o.get();
  objs.AddObj(o, true);
  return raw;
}

// Every statement's text, lines joined by CR LF; comments as written.
inline std::vector<std::string> StatementTexts(const TCustomSQLExec& exec) {
  std::vector<std::string> out;
  for (const auto& st : exec.Statements) {
    std::string text;
    for (size_t i = 0; i < st->Lines.size(); ++i) text += (i ? "\r\n" : "") + st->Lines[i];
    out.push_back(text);
  }
  return out;
}

// The statements that are not comments.
inline std::vector<std::string> SqlTexts(const TCustomSQLExec& exec) {
  std::vector<std::string> out;
  const std::vector<std::string> all = StatementTexts(exec);
  for (size_t i = 0; i < all.size(); ++i)
    if (exec.Statements[i]->Kind != skComment) out.push_back(all[i]);
  return out;
}

using TTexts = std::vector<std::string>;
