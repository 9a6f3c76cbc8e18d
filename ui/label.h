#pragma once

namespace pistavox {

// Every visible label exists in English and in Chinese; the language is chosen
// when the label is drawn. An empty Chinese text falls back to the English one.
struct Label {
  const char* english;
  const char* chinese;
};

inline const char* LabelText(const Label& label, bool chinese) {
  return chinese && label.chinese[0] != '\0' ? label.chinese : label.english;
}

struct App;

// The user's interface language setting says Chinese.
bool InChinese(const App& app);

}  // namespace pistavox
