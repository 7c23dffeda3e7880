# i18n tests
