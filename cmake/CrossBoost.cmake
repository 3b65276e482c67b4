# Boost is used header-only. A cross build points at the build machine's
# Boost headers alone (not at the rest of its /usr/include) through a folder
# that holds nothing but a link to them.
set(NORV_HOST_BOOST_DIR /usr/include/boost CACHE PATH "Boost headers of the build machine")
set(boost_root ${PROJECT_BINARY_DIR}/boost-headers)
file(MAKE_DIRECTORY ${boost_root})
file(CREATE_LINK ${NORV_HOST_BOOST_DIR} ${boost_root}/boost SYMBOLIC)
add_library(Boost::headers INTERFACE IMPORTED)
set_target_properties(Boost::headers PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${boost_root})
