// Fuzz target: the remote's HTTP request parser (with the server's limits) and its commands, HTTP and
// WebSocket, on arbitrary bytes, against a store without a machine. Every answer must be a JSON object
// with a known status, and a refused request must leave the store as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <boost/beast/http.hpp>

#include "device/virtual_clock.h"
#include "model/store_layout.h"
#include "remote/remote_api.h"
#include "remote/remote_server.h"
#include "tuning/field_setter.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

class NoMachine final : public vireo::ReportSender {
 public:
  int SendPaced(const vireo::Report&) override { return vireo::kReportBytes; }
  int SendUnpaced(const vireo::Report&) override { return vireo::kReportBytes; }
};

// A host whose edits go straight to the store, as the tuning operations make them.
class StoreHost final : public vireo::remote::RemoteHost {
 public:
  StoreHost() { vireo::ResetStoreDefaults(store_); }
  void Post(std::function<void()> work) override { work(); }
  const vireo::ParameterStore& store() const override { return store_; }
  bool connected() const override { return true; }
  vireo::tuning::FieldSetResult SetField(const vireo::tuning::FieldValue& v) override {
    return vireo::tuning::SetFieldValue(store_, sender_, clock_, v.name, v.element, v.value);
  }
  vireo::remote::ActionResult RecallMode(int slot) override { return Range(slot, 0, 3); }
  vireo::remote::ActionResult SwitchAb() override { return {}; }
  vireo::remote::AbSlot abLive() const override { return vireo::remote::AbSlot::a; }
  vireo::remote::ActionResult RunScene(int scene) override { return Range(scene, 0, 5); }
  vireo::remote::ActionResult SetPlug(int node, int value) override {
    Check(value == 255 || (value >= 0 && value <= 99));
    return Range(node, 2, 232);
  }
  const vireo::smarthome::SmartHomeController* smartHome() const override { return nullptr; }

 private:
  static vireo::remote::ActionResult Range(int v, int lo, int hi) {
    Check(v >= lo && v <= hi);  // the commands check before they act
    return {};
  }
  vireo::ParameterStore store_;
  NoMachine sender_;
  vireo::VirtualClock clock_;
};

bool KnownStatus(int status) {
  for (int s : {200, 202, 400, 404, 405, 409}) {
    if (status == s) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static StoreHost host;
  if (size == 0) return 0;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] & 1) {
    const vireo::remote::Json answer = vireo::remote::HandleSocketCommand(host, bytes);
    Check(answer.is_object() && (answer["type"] == "result" || answer["type"] == "error"));
    (void)vireo::remote::JsonText(answer);
    return 0;
  }
  namespace http = boost::beast::http;
  http::request_parser<http::string_body> parser;
  parser.body_limit(vireo::remote::kBodyLimit);
  parser.header_limit(8 * 1024);
  parser.eager(true);
  boost::beast::error_code ec;
  parser.put(boost::asio::buffer(bytes), ec);
  if (ec || !parser.is_done()) return 0;
  const auto& request = parser.get();
  const std::string_view target = request.target();
  const vireo::remote::ApiRequest api{std::string(request.method_string()),
                                      std::string(target.substr(0, target.find('?'))), request.body()};
  const vireo::remote::ApiResponse response = vireo::remote::HandleApi(host, api);
  Check(KnownStatus(response.status));
  Check(response.body.is_object() || response.body.is_array());
  (void)vireo::remote::JsonText(response.body);  // every answer can be written
  return 0;
}
