// The report's PDF as a file the programs put in place: whether bytes are a whole PDF (a file cut
// short never replaces a good one), and the message of a PDF that could not be written, in the
// words the windows use for every file they cannot write.
#pragma once

#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/message.h"

namespace kuvelt::formats {

// True when `bytes` begin with the PDF header and end with a trailer: "%%EOF" after
// "startxref" and an offset that points at the last cross-reference section (a table followed
// by its "trailer", or a cross-reference stream object) inside the file.
bool PdfIsComplete(std::string_view bytes);

// "PDF ファイルを書き込めません。（ｴﾗｰｺｰﾄﾞ ： N）", the file and the cause; the preview's title.
Message PdfWriteFailureMessage(const files::Failure& failure, const std::string& path);

}  // namespace kuvelt::formats
