#include "relay/json_post.h"

#include "relay/transport_error.h"

#include <algorithm>
#include <memory>
#include <mutex>

namespace tagsmith::relay {

namespace {

template <auto Free> struct Deleter {
    template <typename T> void operator()(T* handle) const { Free(handle); }
};
using Easy = std::unique_ptr<CURL, Deleter<curl_easy_cleanup>>;
using Multi = std::unique_ptr<CURLM, Deleter<curl_multi_cleanup>>;
using HeaderList = std::unique_ptr<curl_slist, Deleter<curl_slist_free_all>>;

// Longest single wait of the transfer loop; a cancellation wakes it earlier.
constexpr int kPollMilliseconds = 1000;

struct AnswerBuffer {
    QByteArray bytes;
    qsizetype limit = 0;
    bool oversized = false;
};

size_t appendAnswer(char* data, size_t size, size_t count, void* context) {
    auto* buffer = static_cast<AnswerBuffer*>(context);
    const size_t length = size * count;
    if (length > size_t(buffer->limit - buffer->bytes.size())) {
        buffer->oversized = true;
        return 0; // makes libcurl stop reading
    }
    buffer->bytes.append(data, qsizetype(length));
    return length;
}

HeaderList jsonHeaders() {
    HeaderList headers(curl_slist_append(nullptr, "Content-Type: application/json"));
    // Without this, libcurl waits a second for "100 Continue" before larger bodies.
    curl_slist* extended = headers ? curl_slist_append(headers.get(), "Expect:") : nullptr;
    return extended != nullptr ? std::move(headers) : nullptr;
}

void configure(CURL* easy, const QByteArray& url, const QByteArray& body, curl_slist* headers,
               const JsonPostLimits& limits, AnswerBuffer* buffer) {
    curl_easy_setopt(easy, CURLOPT_URL, url.constData());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.constData());
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(body.size()));
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, appendAnswer);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, buffer);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, long(limits.whole.count()));
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, long(limits.idle.count()));
    // Fewer than one byte per second over the idle time counts as idle.
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, long(std::max<qint64>(1, limits.idle.count() / 1000)));
}

CURLcode finishedResult(CURLM* multi) {
    int queued = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi, &queued)) {
        if (message->msg == CURLMSG_DONE)
            return message->data.result;
    }
    return CURLE_FAILED_INIT;
}

CURLcode transfer(CURLM* multi, RequestCancellation& cancellation) {
    if (!cancellation.attach(multi))
        return CURLE_ABORTED_BY_CALLBACK;
    int running = 1;
    CURLMcode status = CURLM_OK;
    while (status == CURLM_OK && running > 0 && !cancellation.isCancelled()) {
        status = curl_multi_perform(multi, &running);
        if (status == CURLM_OK && running > 0)
            status = curl_multi_poll(multi, nullptr, 0, kPollMilliseconds, nullptr);
    }
    cancellation.detach();
    if (cancellation.isCancelled())
        return CURLE_ABORTED_BY_CALLBACK;
    return status == CURLM_OK ? finishedResult(multi) : CURLE_FAILED_INIT;
}

} // namespace

struct JsonPoster::Handles {
    Easy easy{curl_easy_init()};
    Multi multi{curl_multi_init()};
    HeaderList headers = jsonHeaders();
};

JsonPoster::JsonPoster() {
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    m_handles = std::make_unique<Handles>();
}

JsonPoster::~JsonPoster() = default;

Result<JsonPostAnswer> JsonPoster::post(const QUrl& url, const QByteArray& body, const JsonPostLimits& limits,
                                        RequestCancellation& cancellation) {
    CURL* easy = m_handles->easy.get();
    CURLM* multi = m_handles->multi.get();
    if (!easy || !multi || !m_handles->headers)
        return transportError(CURLE_OUT_OF_MEMORY);
    AnswerBuffer buffer{{}, limits.maxAnswerBytes, false};
    const QByteArray encodedUrl = url.toEncoded();
    configure(easy, encodedUrl, body, m_handles->headers.get(), limits, &buffer);
    curl_multi_add_handle(multi, easy);
    const CURLcode result = transfer(multi, cancellation);
    curl_multi_remove_handle(multi, easy);
    if (buffer.oversized && result != CURLE_ABORTED_BY_CALLBACK)
        return JsonPostAnswer{0, {}, true};
    if (result != CURLE_OK) {
        long systemErrorNumber = 0;
        curl_easy_getinfo(easy, CURLINFO_OS_ERRNO, &systemErrorNumber);
        return transportError(result, systemErrorNumber);
    }
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    return JsonPostAnswer{status, buffer.bytes, false};
}

} // namespace tagsmith::relay
