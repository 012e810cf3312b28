#include "about/text_layout.h"

namespace about {

namespace {
void wrapParagraph(const std::string& paragraph, int width, const std::function<int(const std::string&)>& measure,
                   std::vector<std::string>* lines) {
  std::string line;
  std::size_t start = 0;
  while (start <= paragraph.size()) {
    std::size_t end = paragraph.find(' ', start);
    if (end == std::string::npos) end = paragraph.size();
    const std::string word = paragraph.substr(start, end - start);
    start = end + 1;
    if (line.empty()) {
      line = word;
      continue;
    }
    const std::string longer = line + " " + word;
    if (measure(longer) <= width) {
      line = longer;
    } else {
      lines->push_back(line);
      line = word;
    }
  }
  lines->push_back(line);
}
}  // namespace

std::vector<std::string> WrapText(const std::string& text, int width,
                                  const std::function<int(const std::string&)>& measure) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find_first_of("\r\n", start);
    wrapParagraph(text.substr(start, end == std::string::npos ? std::string::npos : end - start), width, measure,
                  &lines);
    if (end == std::string::npos) break;
    // "\r\n" is one line end; a lone "\r" or "\n" is one too.
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

}  // namespace about
