#include "scenario_format.h"

#include <string>

#include "scenario_error.h"

namespace wymianadanych {

namespace {
class TLineBuilder {
 public:
  TLineBuilder& operator<<(int32_t v) {
    if (!text_.empty()) text_ += ' ';
    text_ += IntToStr(v);
    return *this;
  }
  std::string_view End() {
    text_ += "\r\n";
    return text_;
  }

 private:
  std::string text_;
};

int32_t ReadCount(TTokenReader& reader) {
  const int32_t count = reader.ReadInt32();
  reader.SkipLine();
  if (count < 0) throw TScenarioError(RangeCheckText);
  if (count > MaxObjectCount) throw TScenarioError(OutOfMemoryText);
  return count;
}

// A count, then that many lines of objects, each read by `readFields`.
template <class T, class ReadFields>
void ReadObjects(TTokenReader& reader, std::vector<T>& list, ReadFields readFields) {
  const int32_t count = ReadCount(reader);
  list.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    // Past the end every field reads 0: make the rest at once.
    if (reader.AtEnd()) {
      list.resize(static_cast<size_t>(count));
      break;
    }
    readFields(list.emplace_back());
    reader.SkipLine();
  }
}
}  // namespace

void WriteScenario(const TScenario& s, const std::function<void(std::string_view)>& put) {
  for (int32_t p : s.Parameters) put((TLineBuilder() << p).End());
  put((TLineBuilder() << static_cast<int32_t>(s.Observers.size())).End());
  for (const TObserwator& o : s.Observers) put((TLineBuilder() << o.X << o.Y << o.Range).End());
  put((TLineBuilder() << static_cast<int32_t>(s.Boats.size())).End());
  for (const TLodz& b : s.Boats)
    put((TLineBuilder() << b.HomeX << b.HomeY << b.PatrolX << b.PatrolY << b.Speed << b.Range).End());
}

void ReadScenario(TTokenReader& reader, TScenario& s) {
  for (int32_t& p : s.Parameters) {
    p = reader.ReadInt32();
    reader.SkipLine();
  }

  ReadObjects(reader, s.Observers, [&](TObserwator& o) {
    o.X = reader.ReadInt32();
    o.Y = reader.ReadInt32();
    o.Range = reader.ReadInt32();
  });
  ReadObjects(reader, s.Boats, [&](TLodz& b) {
    b.HomeX = reader.ReadInt32();
    b.HomeY = reader.ReadInt32();
    b.PatrolX = reader.ReadInt32();
    b.PatrolY = reader.ReadInt32();
    b.Speed = reader.ReadInt32();
    b.Range = reader.ReadInt32();
  });
  for (TLodz& b : s.Boats) {
    b.X = b.HomeX;
    b.Y = b.HomeY;
    b.Outbound = true;
  }
}

}  // namespace wymianadanych
