frame Report
{
};
