// Choosing and starting the skin host.

#include "shell/SkinHosts.h"

#include <cstdio>

#include "platform/DesktopBrowser.h"
#include "platform/skin/StdioSkinHost.h"
#include "platform/skin/WebSkinHost.h"
#include "shell/WebPages.h"

namespace pgv::shell {

std::unique_ptr<platform::skin::JsonSkinHost> createSkinHost(const CommandLine& options,
                                                             const platform::skin::JsonSkinHostOptions& hostOptions,
                                                             platform::Platform* machine) {
  if (options.skin == CommandLine::Skin::Stdio) return std::make_unique<platform::skin::StdioSkinHost>(hostOptions);
  platform::skin::WebSkinHostOptions web;
  web.json = hostOptions;
  web.port = options.port;
  web.openDocument = [machine](const std::string& target) -> std::optional<platform::skin::WebFile> {
    if (!machine) return std::nullopt;
    return readDocument(*machine, target);
  };
  return std::make_unique<platform::skin::WebSkinHost>(std::move(web));
}

bool startSkinHost(platform::skin::JsonSkinHost& host, const CommandLine& options, platform::Platform& machine,
                   const std::string& bundledSkin, std::string& error) {
  if (auto* stdio = dynamic_cast<platform::skin::StdioSkinHost*>(&host)) {
    stdio->start();
    return true;
  }
  auto& web = dynamic_cast<platform::skin::WebSkinHost&>(host);
  if (!loadWebPages(machine, bundledSkin, web.content(), error)) return false;
  if (!web.start(error)) return false;
  const std::string address = web.address();
  std::printf("Purgavia is running at %s\n", address.c_str());
  if (options.noBrowser || !platform::openDesktopBrowser(address)) {
    std::printf("Open that address in your web browser to use Purgavia.\n");
  }
  std::fflush(stdout);
  return true;
}

}  // namespace pgv::shell
