// Owning wrappers over SQLite's C handles, so that every early return
// finalizes its statement and closes its connection. Texts are bound and read
// as the bytes they are: names and values are in the script's code page, not UTF-8.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace ixo::system {

struct ConnectionCloser {
  void operator()(sqlite3* connection) const { sqlite3_close_v2(connection); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

class Statement {
 public:
  // A statement that failed to prepare binds nothing and steps to the prepare error.
  Statement(sqlite3* connection, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& BindText(int index, std::string_view text);
  Statement& BindBlob(int index, std::string_view bytes);
  Statement& BindInteger(int index, int64_t number);

  // SQLITE_ROW, SQLITE_DONE or the error code (extended).
  int Step();
  // Steps once and tells whether it finished without error, rows or none.
  bool Run();

  int ColumnType(int column) const;
  std::string BytesColumn(int column) const;
  int64_t IntegerColumn(int column) const;

 private:
  sqlite3_stmt* statement_ = nullptr;
  int prepare_result_ = SQLITE_OK;
};

}  // namespace ixo::system
