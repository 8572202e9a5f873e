// Beside its input, not beside the generated source.
constexpr const char* kBannerTitle = "consumer";
