#include "engine/dbf/level_rules.h"

namespace dravella::engine::dbf {

const LevelRules& RulesOf(DbfLevel level) {
  static constexpr LevelRules kDbase2{"dBASE II", 32, 1000, 65535, 19, false};
  static constexpr LevelRules kDbase3{"dBASE III", 128, 4000, 4294967295u, 19, true};
  static constexpr LevelRules kDbase4{"dBASE IV", 255, 4000, 4294967295u, 20, true};
  switch (level) {
    case DbfLevel::kDbase2: return kDbase2;
    case DbfLevel::kDbase3: return kDbase3;
    case DbfLevel::kDbase4: return kDbase4;
  }
  return kDbase3;
}

}  // namespace dravella::engine::dbf
