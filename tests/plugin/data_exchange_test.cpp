#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/window.h"
#include "test_host.h"

namespace quendra::testing {
namespace {

using DataExchange = ModuleTest;

void add_row(TzelParamsList& rows, const char* name, int32_t value) {
  rows.Add(name, OleVariant::from_int32(value));
  rows.AddNewRow();
}

TEST_F(DataExchange, EmptyRolesCallNoHandlerAndNeverReturnTheInput) {
  int calls = 0;
  TestModule::configure = [&](TestModule& m) { m.OnProcessData = [&](TzelPlugin&, PPluginCallRec, int32_t&) { ++calls; }; };
  Call(1).command("LOAD");
  Call call(1, 0);
  char input[] = "<Data/>";
  call.rec.Data = input;
  call.rec.DataSize = 7;
  call.rec.DataType = QUENDRA_DT_TEXT;
  EXPECT_EQ(exports::ProcessData(&call.rec), 0);
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(+call.rec.Data, nullptr);
}

TEST_F(DataExchange, ResultsAndOutputRows) {
  std::string output = "<Data/><{[::]}>";
  TestModule::configure = [&](TestModule& m) {
    m.OnProcessData = [&](TzelPlugin& p, PPluginCallRec rec, int32_t& result) {
      p.OutputRows->Clear();
      if (rec->ClientID == 1) {
        result = 5;  // positive without an output block: becomes 0
      } else if (rec->ClientID == 2) {
        add_row(*p.OutputRows.get(), "T", 21);
      } else if (rec->ClientID == 3) {
        rec->Data = output.data();
        rec->DataType = QUENDRA_DT_TEXT;
        rec->DataSize = static_cast<int32_t>(output.size());
        result = rec->DataSize;
      }
    };
  };
  Call(2).command("LOAD");
  auto m = module(2);
  char input[] = "x";
  for (int32_t client : {1, 2, 3}) {
    Call call(2);
    call.rec.ClientID = client;
    call.rec.Data = input;
    call.rec.DataSize = 1;
    call.rec.ResultValue = 99;
    int32_t result = exports::ProcessData(&call.rec);
    if (client == 1) {
      EXPECT_EQ(result, 0);
      EXPECT_EQ(+call.rec.ResultValue, 0);
    } else if (client == 2) {
      EXPECT_EQ(result, 0);
      EXPECT_EQ(+call.rec.ResultType, 1);
      EXPECT_EQ(+call.rec.ResultValue, reinterpret_cast<intptr_t>(m->OutputRows.get()));
      EXPECT_EQ(+call.rec.Data, nullptr);
    } else {
      EXPECT_EQ(result, static_cast<int32_t>(output.size()));
      EXPECT_EQ(+call.rec.Data, output.data());
    }
  }
  // GetData hands out the same rows again; before LOAD there are none and it fails.
  Call get(2);
  m->OutputRows->Clear();
  add_row(*m->OutputRows.get(), "T", 1);
  EXPECT_EQ(exports::GetData(&get.rec), 0);
  EXPECT_EQ(+get.rec.ResultValue, reinterpret_cast<intptr_t>(m->OutputRows.get()));
  Call never_loaded(3);
  EXPECT_EQ(exports::GetData(&never_loaded.rec), -3);
}

TEST_F(DataExchange, ExportRoleChecksAndClosesItsInput) {
  LogRecorder recorder;
  std::vector<std::string>& log = recorder.lines;
  int calls = 0;
  TestModule::configure = [&](TestModule& m) {
    m.OnProcessData = [&](TzelPlugin&, PPluginCallRec rec, int32_t& result) {
      ++calls;
      result = rec->ClientID == 9 ? -1 : 0;
    };
  };
  Call(4).with("MessagesProcessorHandle", recorder.handle_value()).command("LOAD");
  const uint8_t export_role = 1u << QUENDRA_MTT_DATA_EXPORT;

  Call no_data(4, export_role);
  EXPECT_EQ(exports::ProcessData(&no_data.rec), 0);
  EXPECT_EQ(calls, 0);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0], "\x02Test. No data for processing");

  ParamsPtr rows(TzelRowsParamsList::create());
  rows->Add("A", OleVariant::from_int32(1));
  Call with_rows(4, export_role);
  with_rows.rec.DataType = QUENDRA_DT_PARAMS_LIST;
  with_rows.rec.Data = rows->raw();
  EXPECT_EQ(exports::ProcessData(&with_rows.rec), 0);
  ASSERT_EQ(rows->Count(), 2);
  EXPECT_TRUE(rows->GetItem(1)->is_row_marker());
  EXPECT_EQ(log.back(), "\x03Test. Data have been processed successfully");
  with_rows.rec.ClientID = 9;
  with_rows.rec.Data = rows->raw();
  EXPECT_EQ(exports::ProcessData(&with_rows.rec), -1);
  EXPECT_EQ(rows->Count(), 2);  // already closed: no second marker
  EXPECT_EQ(log.back(), "\x02Test. Data have been processed with errors");
  module(4)->LogWindow = 0;
}

TEST_F(DataExchange, EventsAreHandedOverThenAcknowledged) {
  Call(5).command("LOAD");
  auto m = module(5);
  add_row(*m->EventRows, "E", 1);
  Call call(5);
  EXPECT_EQ(exports::GetEvents(&call.rec), 0);
  EXPECT_EQ(+call.rec.ResultValue, reinterpret_cast<intptr_t>(m->EventRows.get()));
  EXPECT_EQ(m->EventRows->Count(), 2);
  EXPECT_EQ(exports::GetEvents(&call.rec), 0);  // the pointer left in place acknowledges
  EXPECT_EQ(m->EventRows->Count(), 0);
  Call before_load(6);
  EXPECT_EQ(exports::GetEvents(&before_load.rec), -3);
}

TEST_F(DataExchange, UnloadedInstanceRefusesDataCalls) {
  Call(7).command("LOAD");
  Call(7).command("UNLOAD");
  EXPECT_EQ(exports::ProcessData(Call(7).get()), -1);
  EXPECT_EQ(exports::GetData(Call(7).get()), -1);
  EXPECT_EQ(exports::GetEvents(Call(7).get()), -1);
}

TEST(StandardValues, NamesTypesAndOrder) {
  using Items = std::vector<std::pair<std::string, VarType>>;
  auto run = [](int32_t client, const char* full, const char* packet) {
    ParamsPtr list(TzelParamsList::create());
    int n = AddStandardValues(list.get(), full, packet, 3, client, "COM3", "Port COM3", "client 7");
    Items items;
    for (int32_t i = 0; i < list->Count(); ++i)
      items.emplace_back(list->GetItem(i)->name(), list->GetItem(i)->Value.type());
    EXPECT_EQ(n, list->Count());
    return std::make_pair(items, std::move(list));
  };
  auto [six, list6] = run(0, "<Data>full</Data>", "<Data/>");
  EXPECT_EQ(six, (Items{{"FULL_DATA_PACKET", VarType::OleStr},
                        {"DATA_PACKET", VarType::OleStr},
                        {"DATE_TIME_STAMP", VarType::Date},
                        {"DATA_SOURCE_ID", VarType::Int32},
                        {"DATA_SOURCE_FULL_NAME", VarType::OleStr},
                        {"DATA_SOURCE_NAME", VarType::OleStr}}));
  EXPECT_EQ(list6->GetValue("DATA_SOURCE_NAME").to_ansi(), "COM3");
  auto [seven, list7] = run(7, "a", "b");
  ASSERT_EQ(seven.size(), 7u);
  EXPECT_EQ(seven[5].first, "CLIENTID");
  EXPECT_EQ(list7->GetValue("CLIENTID").to_int64(), 7);
  EXPECT_EQ(list7->GetValue("DATA_SOURCE_NAME").to_ansi(), "client 7");
  auto [four, list4] = run(0, "", "");
  EXPECT_EQ(four.size(), 4u);
  EXPECT_EQ(AddStandardValues(nullptr, "a", "b", 1, 0, "", "", ""), 0);
}

// Rows handed out stay readable until the next data call and are freed then: under ASan this long run of
// alternating calls shows neither a leak nor a use after free.
TEST_F(DataExchange, RowsLiveUntilTheNextCall) {
  TestModule::configure = [](TestModule& m) {
    m.OnProcessData = [](TzelPlugin& p, PPluginCallRec rec, int32_t&) {
      p.OutputRows->Clear();
      for (int i = 0; i < rec->DataSize; ++i) {
        p.OutputRows->Add("V", OleVariant::from_ansi_as_wide(std::string(static_cast<std::size_t>(i + 1), 'x')));
        p.OutputRows->AddNewRow();
      }
    };
  };
  Call(8).command("LOAD");
  char input[64] = {};
  for (int i = 0; i < 2000; ++i) {
    Call call(8);
    call.rec.Data = input;
    call.rec.DataSize = 1 + i % 40;
    ASSERT_EQ(exports::ProcessData(&call.rec), 0);
    auto* rows = TzelParamsList::from(reinterpret_cast<QuendraParamsList*>(call.rec.ResultValue));
    ASSERT_EQ(rows->Count(), 2 * (1 + i % 40));
    EXPECT_EQ(rows->GetItem(rows->Count() - 2)->Value.wide_view().size(), static_cast<std::size_t>(1 + i % 40));
    if (i % 3 == 0) {
      EXPECT_EQ(exports::GetData(&call.rec), 0);
    }
  }
  Call(8).command("UNLOAD");
}

}  // namespace
}  // namespace quendra::testing

namespace quendra::testing {
namespace {

// Calls on two threads at once each get the rows of their own packet back.
TEST_F(DataExchange, ConcurrentCallsGetTheirOwnRows) {
  TestModule::configure = [](TestModule& m) {
    m.OnProcessData = [](TzelPlugin& p, PPluginCallRec rec, int32_t&) {
      TzelRowsParamsList* rows = p.OutputRows.get();
      rows->Clear();
      for (int i = 0; i < 50; ++i) add_row(*rows, "C", rec->ClientID);
    };
  };
  Call(9).command("LOAD");
  std::atomic<int> mixed{0};
  std::vector<std::thread> threads;
  for (int32_t client = 1; client <= 4; ++client) {
    threads.emplace_back([client, &mixed] {
      for (int i = 0; i < 300; ++i) {
        Call call(9);
        call.rec.ClientID = client;
        if (exports::ProcessData(&call.rec) != 0) ++mixed;
        auto* rows = TzelParamsList::from(reinterpret_cast<QuendraParamsList*>(call.rec.ResultValue));
        for (int32_t r = 0; r < rows->Count(); r += 2)
          if (rows->GetItem(r)->Value.to_int64() != client) ++mixed;
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(mixed.load(), 0);
}

}  // namespace
}  // namespace quendra::testing
