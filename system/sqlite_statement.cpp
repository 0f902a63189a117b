#include "system/sqlite_statement.h"

namespace ixo::system {

Statement::Statement(sqlite3* connection, std::string_view sql) {
  prepare_result_ = sqlite3_prepare_v2(connection, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr);
  if (prepare_result_ != SQLITE_OK) {
    sqlite3_finalize(statement_);
    statement_ = nullptr;
  }
}

Statement::~Statement() { sqlite3_finalize(statement_); }

Statement& Statement::BindText(int index, std::string_view text) {
  // An empty view may have no data pointer; SQLite would bind that as NULL.
  if (statement_) sqlite3_bind_text(statement_, index, text.empty() ? "" : text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  return *this;
}

Statement& Statement::BindBlob(int index, std::string_view bytes) {
  if (statement_) sqlite3_bind_blob(statement_, index, bytes.empty() ? "" : bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
  return *this;
}

Statement& Statement::BindInteger(int index, int64_t number) {
  if (statement_) sqlite3_bind_int64(statement_, index, number);
  return *this;
}

int Statement::Step() { return statement_ ? sqlite3_step(statement_) : prepare_result_; }

bool Statement::Run() {
  int result = Step();
  return result == SQLITE_DONE || result == SQLITE_ROW;
}

int Statement::ColumnType(int column) const { return sqlite3_column_type(statement_, column); }

std::string Statement::BytesColumn(int column) const {
  const void* bytes = sqlite3_column_blob(statement_, column);
  int size = sqlite3_column_bytes(statement_, column);
  return bytes ? std::string(static_cast<const char*>(bytes), static_cast<size_t>(size)) : std::string();
}

int64_t Statement::IntegerColumn(int column) const { return sqlite3_column_int64(statement_, column); }

}  // namespace ixo::system
