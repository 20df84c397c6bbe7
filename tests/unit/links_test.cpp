#include <gtest/gtest.h>

#include "common/links.h"
#include "tests/doubles/fake_platform.h"

namespace {

using platform::ShowCode;

TEST(LinksTest, EachDocumentOpensWithItsOwnerAndShowCode) {
  doubles::RecordingShell shell;
  shell.result = 2;  // a failure is not examined
  common::OpenHelpFile(shell, 7, "C:\\Program Files\\Kestrel");
  common::OpenWebSite(shell, 8);
  common::SendEmail(shell, 9);
  ASSERT_EQ(shell.opened.size(), 3u);
  EXPECT_EQ(shell.opened[0].owner, 7u);
  EXPECT_EQ(shell.opened[0].document, "C:\\Program Files\\Kestrel\\Help\\help.htm");
  EXPECT_EQ(shell.opened[0].show, ShowCode::Normal);
  EXPECT_EQ(shell.opened[1].owner, 8u);
  EXPECT_EQ(shell.opened[1].document, common::WebSiteAddress());
  EXPECT_EQ(shell.opened[1].show, ShowCode::Normal);
  EXPECT_EQ(shell.opened[2].owner, 9u);
  EXPECT_EQ(shell.opened[2].document, common::SupportMailAddress());
  EXPECT_EQ(shell.opened[2].show, ShowCode::Show);
}

TEST(LinksTest, AddressesAreAWebHomePageAndAMailto) {
  const std::string web = common::WebSiteAddress();
  EXPECT_EQ(web.rfind("http://", 0), 0u);
  EXPECT_EQ(web.back(), '/');
  EXPECT_EQ(web.find('/', 7), web.size() - 1) << "the home page has the path / only";
  const std::string mail = common::SupportMailAddress();
  EXPECT_EQ(mail.rfind("mailto:", 0), 0u);
  EXPECT_NE(mail.find('@'), std::string::npos);
}

}  // namespace
