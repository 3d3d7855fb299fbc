#include "net/MimeMessage.h"

#include <gmime/gmime.h>
#include <strings.h>

#include <mutex>

#include "net/FlowedText.h"
#include "net/HtmlText.h"
#include "net/Latin1Text.h"

namespace {

constexpr std::string_view kMimeHeaders[] = {"mime-version:", "content-type:", "content-transfer-encoding:"};

// GMime's objects unreferenced when they go out of scope.
template <typename T>
struct Owned {
    explicit Owned(T* object) : object(object) {}
    ~Owned() {
        if (object != nullptr) g_object_unref(object);
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    T* object;
};

std::string_view headerBlock(std::string_view received) {
    std::size_t end = received.find("\n\n");
    if (received.substr(0, 1) == "\n") end = 0;
    return received.substr(0, end);
}

bool startsCaseless(std::string_view line, std::string_view prefix) {
    return line.size() >= prefix.size() && ::strncasecmp(line.data(), prefix.data(), prefix.size()) == 0;
}

// MIME headers, or an encoded word anywhere in the header.
bool needsMime(std::string_view received) {
    std::string_view header = headerBlock(received);
    if (header.find("=?") != std::string_view::npos) return true;
    for (std::size_t from = 0; from < header.size();) {
        std::size_t end = std::min(header.find('\n', from), header.size());
        std::string_view line = header.substr(from, end - from);
        for (std::string_view name : kMimeHeaders)
            if (startsCaseless(line, name)) return true;
        from = end + 1;
    }
    return false;
}

std::string withLineFeeds(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

// A folded value on one line, without the blanks around it.
std::string unfolded(std::string_view raw) {
    std::string value;
    for (char c : raw)
        if (c != '\r' && c != '\n') value += c;
    std::size_t first = value.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return value.substr(first, value.find_last_not_of(" \t") - first + 1);
}

std::string headerValue(const char* raw) {
    std::string value = unfolded(raw != nullptr ? raw : "");
    if (value.find("=?") == std::string::npos) return Latin1FromCharset(value, "");
    char* decoded = g_mime_utils_header_decode_text(nullptr, value.c_str());
    std::string text = Latin1FromCharset(decoded != nullptr ? decoded : value.c_str(), "UTF-8");
    g_free(decoded);
    return text;
}

std::string headerLines(GMimeMessage* message) {
    GMimeHeaderList* headers = g_mime_object_get_header_list(GMIME_OBJECT(message));
    std::string lines;
    for (int i = 0; i < g_mime_header_list_get_count(headers); ++i) {
        GMimeHeader* header = g_mime_header_list_get_header_at(headers, i);
        lines += std::string(g_mime_header_get_name(header)) + ": " + headerValue(g_mime_header_get_raw_value(header)) +
                 "\n";
    }
    return lines;
}

std::string partBytes(GMimePart* part) {
    GMimeDataWrapper* content = g_mime_part_get_content(part);
    if (content == nullptr) return "";
    Owned<GMimeStream> out(g_mime_stream_mem_new());
    g_mime_data_wrapper_write_to_stream(content, out.object);
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(out.object));
    return std::string(reinterpret_cast<const char*>(bytes->data), bytes->len);
}

std::string parameter(GMimeObject* part, const char* name) {
    const char* value = g_mime_object_get_content_type_parameter(part, name);
    return value != nullptr ? value : "";
}

std::string partText(GMimePart* part) {
    GMimeObject* object = GMIME_OBJECT(part);
    std::string text = withLineFeeds(Latin1FromCharset(partBytes(part), parameter(object, "charset")));
    GMimeContentType* type = g_mime_object_get_content_type(object);
    if (g_mime_content_type_is_type(type, "text", "html")) return HtmlToText(text);
    if (::strcasecmp(parameter(object, "format").c_str(), "flowed") == 0)
        return UnflowText(text, ::strcasecmp(parameter(object, "delsp").c_str(), "yes") == 0);
    return text;
}

std::string describe(GMimeObject* object) {
    char* type = g_mime_content_type_get_mime_type(g_mime_object_get_content_type(object));
    const char* filename = GMIME_IS_PART(object) ? g_mime_part_get_filename(GMIME_PART(object)) : nullptr;
    std::string name = filename != nullptr ? Latin1FromCharset(filename, "UTF-8") + " (" + type + ")" : type;
    g_free(type);
    return name;
}

// The parts of a message in their order, with the first text/plain and the
// first text/html that are not attachments.
class PartChooser {
public:
    void walk(GMimeObject* object, bool alternative) {
        if (GMIME_IS_MULTIPART(object)) {
            GMimeMultipart* multipart = GMIME_MULTIPART(object);
            bool isAlternative = g_mime_content_type_is_type(g_mime_object_get_content_type(object), "multipart",
                                                             "alternative");
            for (int i = 0; i < g_mime_multipart_get_count(multipart); ++i)
                walk(g_mime_multipart_get_part(multipart, i), isAlternative);
            return;
        }
        leaves_.push_back({object, alternative});
        if (!GMIME_IS_PART(object) || isAttachment(object)) return;
        GMimeContentType* type = g_mime_object_get_content_type(object);
        if (plain_ == nullptr && g_mime_content_type_is_type(type, "text", "plain")) plain_ = GMIME_PART(object);
        if (html_ == nullptr && g_mime_content_type_is_type(type, "text", "html")) html_ = GMIME_PART(object);
    }

    GMimePart* chosen() const { return plain_ != nullptr ? plain_ : html_; }

    // Every part but the chosen one and the other forms of its text.
    std::vector<std::string> dropped() const {
        std::vector<std::string> names;
        for (const Leaf& leaf : leaves_) {
            if (leaf.object == reinterpret_cast<GMimeObject*>(chosen())) continue;
            bool textForm = GMIME_IS_PART(leaf.object) && !isAttachment(leaf.object) &&
                            g_mime_content_type_is_type(g_mime_object_get_content_type(leaf.object), "text", "*");
            if (leaf.alternative && textForm) continue;
            names.push_back(describe(leaf.object));
        }
        return names;
    }

private:
    struct Leaf {
        GMimeObject* object;
        bool alternative;
    };

    static bool isAttachment(GMimeObject* object) {
        GMimeContentDisposition* disposition = g_mime_object_get_content_disposition(object);
        bool attached = disposition != nullptr && g_mime_content_disposition_is_attachment(disposition);
        return attached || g_mime_part_get_filename(GMIME_PART(object)) != nullptr;
    }

    std::vector<Leaf> leaves_;
    GMimePart* plain_ = nullptr;
    GMimePart* html_ = nullptr;
};

MailText fromMime(std::string_view received) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { g_mime_init(); });
    Owned<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(received.data(), received.size()));
    Owned<GMimeParser> parser(g_mime_parser_new_with_stream(stream.object));
    Owned<GMimeMessage> message(g_mime_parser_construct_message(parser.object, nullptr));
    if (message.object == nullptr) return {std::string(received), {}};

    MailText mail;
    mail.text = headerLines(message.object) + "\n";
    GMimeObject* body = g_mime_message_get_mime_part(message.object);
    if (body == nullptr) return mail;
    PartChooser chooser;
    chooser.walk(body, false);
    if (chooser.chosen() != nullptr) mail.text += partText(chooser.chosen());
    mail.dropped = chooser.dropped();
    return mail;
}

}  // namespace

MailText ReadMailText(std::string_view received) {
    if (needsMime(received)) return fromMime(received);
    return {Latin1FromCharset(received, ""), {}};
}
