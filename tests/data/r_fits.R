# The regressions the statistics tests check against, one per model form,
# fitted by lm() on R's own datasets with centred quantitative predictors and
# R's treatment coding. Sourced by the scripts that print the reference
# numbers; each fit carries its weights in the form's order (named by the
# form's boxes), their covariance matrix in the same order, the standard
# deviations and moderator values the form is given, and the residual df.

centre <- function(v) v - mean(v)

fit_entry <- function(form, fit, boxes, coefs, extra) {
  b <- coef(fit)[coefs]
  names(b) <- boxes
  v <- vcov(fit)[coefs, coefs]
  dimnames(v) <- list(boxes, boxes)
  c(list(form = form, fit = fit, weights = b, vcov = v, df = df.residual(fit)), extra)
}

marvane_fits <- function() {
  fits <- list()

  # Quant and QuantZ: mpg on weight and horsepower.
  mt <- transform(mtcars, x = centre(wt), z = centre(hp))
  q <- lm(mpg ~ x * z, data = mt)
  fits$Quant <- fit_entry("Quant", q, c("a", "bx", "bz", "bxz"), c("(Intercept)", "x", "z", "x:z"),
                          list(stdx = sd(mt$x), stdz = sd(mt$z), zvalues = c(sd(mt$z), 0, -sd(mt$z))))
  fits$QuantZ <- fit_entry("QuantZ", q, c("a", "bx", "bz", "bxz"), c("(Intercept)", "x", "z", "x:z"),
                           list(stdx = sd(mt$x), zvalues = c(80, 10, -50)))

  # Mixed2: tooth length on dose by supplement; VC (coded 1) is the target
  # group, OJ (coded 0) the contrast group.
  tg <- transform(ToothGrowth, x = centre(dose), g = as.numeric(supp == "VC"))
  m2 <- lm(len ~ x * g, data = tg)
  fits$Mixed2 <- fit_entry("Mixed2", m2, c("a", "bx", "bz", "bxz"), c("(Intercept)", "x", "g", "x:g"),
                           list(stdx = sd(tg$x)))

  # Mixed3: sepal length on sepal width by species; versicolor is DC1,
  # virginica DC2, setosa the contrast group.
  ir <- transform(iris, x = centre(Sepal.Width))
  m3 <- lm(Sepal.Length ~ x * Species, data = ir)
  fits$Mixed3 <- fit_entry("Mixed3", m3, c("a", "rbx", "bz1", "bz2", "bxz1", "bxz2"),
                           c("(Intercept)", "x", "Speciesversicolor", "Speciesvirginica",
                             "x:Speciesversicolor", "x:Speciesvirginica"),
                           list(stdx = sd(ir$x)))

  # Quant3: fertility on agriculture, education and catholic share.
  sw <- transform(swiss, x = centre(Agriculture), z = centre(Education), v = centre(Catholic))
  q3 <- lm(Fertility ~ x * z * v, data = sw)
  fits$Quant3 <- fit_entry("Quant3", q3, c("a", "bx", "bz", "bv", "bxz", "bxv", "bzv", "bxzv"),
                           c("(Intercept)", "x", "z", "v", "x:z", "x:v", "z:v", "x:z:v"),
                           list(stdx = sd(sw$x), stdz = sd(sw$z), stdv = sd(sw$v)))

  # Incomplete: mpg on weight and horsepower with quarter-mile time and the
  # transmission held (qsec one second above its mean, manual cars).
  mi <- transform(mtcars, x = centre(wt), z = centre(hp), t1 = centre(qsec), t2 = am)
  inc <- lm(mpg ~ x * z + t1 + t2, data = mi)
  fits$Incomplete <- fit_entry("Incomplete", inc, c("weight_0", "bx", "bz", "bxz", "weight_1", "weight_2"),
                               c("(Intercept)", "x", "z", "x:z", "t1", "t2"),
                               list(stdx = sd(mi$x), stdz = sd(mi$z), held = c(1, 1)))
  fits
}
