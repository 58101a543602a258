# Deployment values: the company's servers, the outside services and the contact data.
# Change them at configure time (cmake -DDECOR_CONFIG_SERVER=http://...) for another deployment.
set(DECOR_STATISTICS_SERVER "http://tongji.tarselcorvalen.com" CACHE STRING "Statistics server (homeowner counter)")
set(DECOR_CONFIG_SERVER "http://peizhi.tarselcorvalen.com" CACHE STRING "Configuration server (price files)")
set(DECOR_QUOTE_SERVER "http://baojia.tarselcorvalen.com" CACHE STRING "Quote-sending server")
set(DECOR_WEBSITE "http://www.tarselcorvalen.com" CACHE STRING "Company website")
set(DECOR_CHAT_HOST "http://wpa.qq.com" CACHE STRING "Chat service host")
set(DECOR_CHAT_ACCOUNT "800012345" CACHE STRING "Company chat account")
set(DECOR_LOCATION_SERVICE "http://haoma.tarselcorvalen.com" CACHE STRING "Number-location service host")
set(DECOR_LOCATION_PAGE "locating.aspx" CACHE STRING "Number-location service page")
set(DECOR_COMPANY_NAME "TarselCorvalen装饰" CACHE STRING "Company name heading printed and exported quotations")
set(DECOR_HOTLINE "400-820-6688" CACHE STRING "Designers' hotline")
