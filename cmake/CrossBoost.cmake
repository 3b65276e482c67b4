# Boost is used header-only. A cross build points at the build machine's
# Boost headers alone (not at the rest of its /usr/include) through a folder
# that holds nothing but a link to them.
set(NORVEXT_HOST_BOOST_DIR /usr/include/boost CACHE PATH "Boost headers of the build machine")
norv_host_headers(Boost::headers boost ${NORVEXT_HOST_BOOST_DIR})
