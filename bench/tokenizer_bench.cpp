// Tokenizer throughput on a large generated schema script: 20 000 tables of
// twelve columns, each with a primary key and an index (about 13 MB). Only
// the scanner runs; no statements are parsed and no objects are built.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "core/kvtMsgMngr.h"
#include "parse/kvtIBParser.h"
#include "parse/kvtParser.h"

namespace {

std::string MakeScript(int tables) {
  static const char* const types[] = {"INTEGER NOT NULL",
                                      "VARCHAR(80) CHARACTER SET UTF8",
                                      "NUMERIC(15, 2) DEFAULT 0",
                                      "TIMESTAMP DEFAULT CURRENT_TIMESTAMP",
                                      "CHAR(1) DEFAULT 'N' NOT NULL",
                                      "DOUBLE PRECISION",
                                      "BLOB SUB_TYPE 1",
                                      "DATE",
                                      "SMALLINT DEFAULT 1",
                                      "VARCHAR(250)",
                                      "BIGINT",
                                      "DECIMAL(18, 4) NOT NULL"};
  std::string s;
  s.reserve(static_cast<size_t>(tables) * 700);
  char name[32];
  for (int t = 0; t < tables; ++t) {
    std::snprintf(name, sizeof name, "CUSTOMER_ORDERS_%05d", t);
    s += "/* Group ";
    s += std::to_string(t);
    s += " */\r\nCREATE TABLE ";
    s += name;
    s += " (\r\n";
    for (int c = 0; c < 12; ++c) {
      s += "  ORDER_COLUMN_";
      s += std::to_string(c);
      s += ' ';
      s += types[c];
      s += ",\r\n";
    }
    s += "  CONSTRAINT PK_";
    s += name;
    s += " PRIMARY KEY (ORDER_COLUMN_0)\r\n);\r\n";
    s += "CREATE INDEX IX_";
    s += name;
    s += " ON ";
    s += name;
    s += " (ORDER_COLUMN_1, ORDER_COLUMN_3); -- by name\r\n\r\n";
  }
  return s;
}

// The SQL scanner with the InterBase/Firebird keyword list loaded, as a
// dialect parser would have it.
class TBenchParser : public TCustomSQLParser {
 public:
  TBenchParser() {
    size_t count = 0;
    const TIbKeywordRow* rows = IbKeywordRows(count);
    for (size_t i = 0; i < count; ++i) ResWords->AddWord(rows[i].Word, rows[i].Kind);
    ServerType = srvInterBase;
    OnErrorMessage = [](void*, const std::string&) {};
  }
};

void BM_Tokenizer(benchmark::State& state) {
  const std::string script = MakeScript(static_cast<int>(state.range(0)));
  TBenchParser parser;
  size_t tokens = 0;
  std::string text = script;
  for (auto _ : state) {
    parser.SetSource(std::move(text));  // moved in and out: no copy is timed
    size_t n = 0;
    do {
      parser.NextToken();
      ++n;
    } while (parser.Token != tkEOF);
    tokens = n;
    benchmark::DoNotOptimize(parser.Token);
    text = std::move(parser.Source);
  }
  if (parser.Messages->HasErrors()) state.SkipWithError("the script did not scan cleanly");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(script.size()));
  state.counters["MB"] = static_cast<double>(script.size()) / 1e6;
  state.counters["tokens"] = static_cast<double>(tokens);
}

BENCHMARK(BM_Tokenizer)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
