# Deployment values: the company's servers, the outside services and the contact data.
# Change them at configure time (cmake -DDECOR_CONFIG_SERVER=http://...) for another deployment.
set(DECOR_STATISTICS_SERVER "http://tongji.tarselcorvalen.com" CACHE STRING "Statistics server (homeowner counter)")
set(DECOR_CONFIG_SERVER "http://peizhi.tarselcorvalen.com" CACHE STRING "Configuration server (price files)")
set(DECOR_ESTIMATE_SERVER "http://baojia.tarselcorvalen.com" CACHE STRING "Server the quick estimate is sent to")
# DECOR_QUOTE_SERVER is the earlier name of DECOR_ESTIMATE_SERVER: a build configured with it
# keeps working, and it wins when both are given.
if(DEFINED DECOR_QUOTE_SERVER AND NOT DECOR_QUOTE_SERVER STREQUAL "")
  set(DECOR_ESTIMATE_SERVER "${DECOR_QUOTE_SERVER}" CACHE STRING "Server the quick estimate is sent to" FORCE)
endif()
set(DECOR_WEBSITE "http://www.tarselcorvalen.com" CACHE STRING "Company website")
set(DECOR_CHAT_HOST "http://wpa.qq.com" CACHE STRING "Chat service host")
set(DECOR_CHAT_ACCOUNT "800012345" CACHE STRING "Company chat account")
set(DECOR_LOCATION_SERVICE "http://haoma.tarselcorvalen.com" CACHE STRING "Number-location service host")
set(DECOR_LOCATION_PAGE "locating.aspx" CACHE STRING "Number-location service page")
set(DECOR_COMPANY_NAME "TarselCorvalen装饰" CACHE STRING "Company name: windows, counter text, quotations, installer and packages")
set(DECOR_HOTLINE "400-820-6688" CACHE STRING "Designers' hotline")
